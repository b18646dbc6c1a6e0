#include "host/resources/TerminologyReader.h"

#include "host/resources/ByteReader.h"

namespace vhost {

namespace {

constexpr uint16_t kWindowsPrefix = 1;

ScriptingParameter ReadParameter(ByteReader& in) {
    ScriptingParameter p;
    p.name = in.CountedString("parameter name");
    p.key = in.Code("parameter key");
    p.type = in.Code("parameter type");
    p.description = in.CountedString("parameter description");
    p.flags = in.U16("parameter flags");
    return p;
}

TerminologyEvent ReadEvent(ByteReader& in) {
    TerminologyEvent e;
    e.name = in.CountedString("event name");
    e.description = in.CountedString("event description");
    e.classID = in.Code("event class");
    e.eventID = in.Code("event ID");
    e.replyType = in.Code("reply type");
    in.CountedString("reply description");
    in.U16("reply flags");
    e.directType = in.Code("direct parameter type");
    in.CountedString("direct parameter description");
    e.directFlags = in.U16("direct parameter flags");
    for (uint16_t n = in.U16("parameter count"); n > 0; --n) {
        e.parameters.push_back(ReadParameter(in));
    }
    return e;
}

// A class: name, ID, description, properties (laid out as parameters) and
// elements (a class ID and its key forms).
void SkipClass(ByteReader& in) {
    in.CountedString("class name");
    in.Code("class ID");
    in.CountedString("class description");
    for (uint16_t n = in.U16("property count"); n > 0; --n) {
        ReadParameter(in);
    }
    for (uint16_t n = in.U16("element count"); n > 0; --n) {
        in.Code("element class");
        uint16_t forms = in.U16("key form count");
        in.Take(size_t(forms) * 4, "key forms");
    }
}

void SkipComparison(ByteReader& in) {
    in.CountedString("comparison name");
    in.Code("comparison ID");
    in.CountedString("comparison description");
}

void SkipEnumeration(ByteReader& in) {
    in.Code("enumeration ID");
    for (uint16_t n = in.U16("enumerator count"); n > 0; --n) {
        in.CountedString("enumerator name");
        in.Code("enumerator ID");
        in.CountedString("enumerator description");
    }
}

TerminologySuite ReadSuite(ByteReader& in) {
    TerminologySuite s;
    s.name = in.CountedString("suite name");
    s.description = in.CountedString("suite description");
    s.id = in.Code("suite ID");
    in.U16("suite level");
    in.U16("suite version");
    for (uint16_t n = in.U16("event count"); n > 0; --n) {
        s.events.push_back(ReadEvent(in));
    }
    for (uint16_t n = in.U16("class count"); n > 0; --n) {
        SkipClass(in);
    }
    for (uint16_t n = in.U16("comparison operator count"); n > 0; --n) {
        SkipComparison(in);
    }
    for (uint16_t n = in.U16("enumeration count"); n > 0; --n) {
        SkipEnumeration(in);
    }
    return s;
}

} // namespace

TerminologyResource ReadTerminology(std::span<const uint8_t> bytes, const std::string& what) {
    ByteReader in(bytes, what);
    uint16_t prefix = in.U16("prefix");
    if (prefix != kWindowsPrefix) {
        in.Fail("starts with " + std::to_string(prefix) + ", not 1");
    }
    TerminologyResource t;
    t.majorVersion = in.U8("major version");
    t.minorVersion = in.U8("minor version");
    in.U16("language");
    in.U16("script");
    for (uint16_t n = in.U16("suite count"); n > 0; --n) {
        t.suites.push_back(ReadSuite(in));
    }
    if (in.Remaining() != 0) {
        in.Fail(std::to_string(in.Remaining()) + " bytes follow the last suite");
    }
    return t;
}

const TerminologyEvent* FindEvent(const TerminologyResource& terminology, uint32_t classID,
                                  uint32_t eventID) {
    for (const TerminologySuite& s : terminology.suites) {
        for (const TerminologyEvent& e : s.events) {
            if (e.classID == classID && e.eventID == eventID) {
                return &e;
            }
        }
    }
    return nullptr;
}

} // namespace vhost
