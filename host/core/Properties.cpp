#include "host/core/Properties.h"

#include "hostapi/FourCharCode.h"

namespace vhost {

using vlh::FourCC;

namespace {

uint32_t TermID(Terminology& terms, const char* stringID) {
    return terms.ToTypeID(stringID).value_or(0);
}

} // namespace

Descriptor ApplicationObject(const AppState& app, Terminology& terms) {
    Descriptor d;
    d.Put(FourCC("HstN"), Value::String(app.hostName));
    Descriptor version;
    version.Put(FourCC("VrsM"), Value::Integer(app.versionMajor));
    version.Put(FourCC("VrsN"), Value::Integer(app.versionMinor));
    d.Put(FourCC("HstV"), Value::Object(FourCC("Vrsn"), version));
    d.Put(FourCC("RlrU"), Value::Enumerated(FourCC("RlrU"), app.rulerUnits));
    Descriptor colour;
    colour.Put(FourCC("Nm  "), Value::String(app.colour.name));
    colour.Put(TermID(terms, "askMismatchOpening"), Value::Boolean(app.colour.askMismatchOpening));
    colour.Put(TermID(terms, "askMismatchPasting"), Value::Boolean(app.colour.askMismatchPasting));
    colour.Put(TermID(terms, "askMissing"), Value::Boolean(app.colour.askMissing));
    const uint32_t colorSettings = TermID(terms, "colorSettings");
    d.Put(colorSettings, Value::Object(colorSettings, colour));
    return d;
}

Descriptor DocumentObject(const Document& doc, Terminology& terms) {
    Descriptor d;
    const double ppi = doc.resolution > 0 ? doc.resolution : 72.0;
    d.Put(FourCC("Dpth"), Value::Integer(doc.depth));
    d.Put(FourCC("Wdth"), Value::UnitFloat(FourCC("#Pnt"), doc.width * 72.0 / ppi));
    d.Put(FourCC("Hght"), Value::UnitFloat(FourCC("#Pnt"), doc.height * 72.0 / ppi));
    d.Put(FourCC("Rslt"), Value::UnitFloat(FourCC("#Rsl"), doc.resolution));
    d.Put(TermID(terms, "profile"), Value::String(doc.profile));
    return d;
}

void Properties::Set(uint32_t classID, uint32_t key, std::optional<Value> v) {
    for (Op& op : ops_) {
        if (op.classID == classID && op.key == key) {
            op.value = std::move(v);
            return;
        }
    }
    ops_.push_back({classID, key, std::move(v)});
}

void Properties::Override(uint32_t classID, uint32_t key, Value v) {
    Set(classID, key, std::move(v));
}

void Properties::Remove(uint32_t classID, uint32_t key) {
    Set(classID, key, std::nullopt);
}

std::optional<Descriptor> Properties::ObjectOf(uint32_t classID, const AppState& app, const Document* doc,
                                               Terminology& terms) const {
    std::optional<Descriptor> d;
    if (classID == FourCC("capp")) {
        d = ApplicationObject(app, terms);
    } else if (classID == FourCC("Dcmn")) {
        if (doc == nullptr) {
            return std::nullopt;
        }
        d = DocumentObject(*doc, terms);
    }
    for (const Op& op : ops_) {
        if (op.classID != classID) {
            continue;
        }
        if (!d) {
            d.emplace();
        }
        if (op.value) {
            d->Put(op.key, *op.value);
        } else {
            d->Erase(op.key);
        }
    }
    return d;
}

} // namespace vhost
