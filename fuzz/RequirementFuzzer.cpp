// Requirement expressions through EvaluateRequirement, with the host values
// it reads (the host's major version, the document's colour profile) taken
// from an in-process host set up by the input:
//
//   byte 0      the host's major version
//   byte 1      bit 0: a document is open
//               bit 1: the host answers its version with a text
//               bit 2: the host answers the document's profile with a number
//               bit 3: every Control.Get fails
//   then        the document's profile name, up to the first zero byte
//   then        the tokens, each ended by a zero byte (or the input's end)
//
// Besides the input's own tokens, two expressions whose answer is known from
// the set-up must hold: "PSVersion" equals the version the host gives, and
// "DocProfile" equals the profile name it gives ("None" when it gives none).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Requirement.h"
#include "fuzz/FuzzHost.h"
#include "hostapi/FourCharCode.h"

namespace {

using vlh::FourCC;
using vlh::fuzz::Require;

constexpr int32_t kReferenceNotFound = -25922;

struct Setup {
    int32_t version = 0;
    bool document = false;
    bool versionAsText = false;
    bool profileAsNumber = false;
    bool getFails = false;
    std::string profile;
    std::vector<std::string> tokens;
};

// The text from pos up to the next zero byte (or the end); pos moves past it.
std::string NextText(const uint8_t* data, size_t size, size_t& pos) {
    const size_t start = pos;
    while (pos < size && data[pos] != 0) {
        ++pos;
    }
    std::string text(reinterpret_cast<const char*>(data) + start, pos - start);
    if (pos < size) {
        ++pos; // the zero byte
    }
    return text;
}

Setup ReadSetup(const uint8_t* data, size_t size) {
    Setup setup;
    if (size < 2) {
        return setup;
    }
    setup.version = data[0];
    setup.document = (data[1] & 1) != 0;
    setup.versionAsText = (data[1] & 2) != 0;
    setup.profileAsNumber = (data[1] & 4) != 0;
    setup.getFails = (data[1] & 8) != 0;
    size_t pos = 2;
    setup.profile = NextText(data, size, pos);
    while (pos < size) {
        setup.tokens.push_back(NextText(data, size, pos));
    }
    return setup;
}

void Prepare(vhost::Host& host, const Setup& setup) {
    host.App().versionMajor = setup.version;
    if (setup.document) {
        vhost::Document document;
        document.width = 4;
        document.height = 3;
        document.profile = setup.profile;
        host.OpenDocument(document);
    }
    if (setup.versionAsText) {
        host.OverrideProperty(FourCC("capp"), FourCC("HstV"), vhost::Value::String("24.0"));
    }
    if (setup.profileAsNumber) {
        if (const auto key = host.Terms().ToTypeID("profile")) {
            host.OverrideProperty(FourCC("Dcmn"), *key, vhost::Value::Integer(7));
        }
    }
    if (setup.getFails) {
        host.FaultPlan().FailEveryCall("Control.Get", kReferenceNotFound);
    }
}

bool Evaluate(const std::vector<std::string>& tokens) {
    std::vector<const char*> pointers;
    for (const std::string& token : tokens) {
        pointers.push_back(token.c_str());
    }
    return vlh::EvaluateRequirement(pointers.data(), int32_t(pointers.size()));
}

// The evaluator reads the profile name into a buffer of this many bytes.
constexpr size_t kProfileBuffer = 256;

// The profile name the module should read: "None" when the host gives none
// or a name that does not fit the evaluator's buffer with its zero.
std::string ExpectedProfile(const Setup& setup) {
    if (!setup.document || setup.profileAsNumber || setup.getFails ||
        setup.profile.size() >= kProfileBuffer) {
        return "None";
    }
    return setup.profile;
}

// A profile name can be compared by a token only when the token reads as a
// string: it starts with a letter and is not one of the two host words.
bool UsableAsToken(const std::string& text) {
    const auto first = static_cast<unsigned char>(text.empty() ? 0 : text[0]);
    return (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')
               ? text != "PSVersion" && text != "DocProfile"
               : false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Setup setup = ReadSetup(data, size);
    vlh::fuzz::FuzzHost session;
    Prepare(session.host(), setup);

    const bool answer = Evaluate(setup.tokens);
    Require(Evaluate(setup.tokens) == answer, "the same expression gives the same answer twice");

    const int32_t version = setup.versionAsText || setup.getFails ? 0 : setup.version;
    Require(Evaluate({"PSVersion", std::to_string(version), "=="}), "PSVersion is the host's major version");
    const std::string profile = ExpectedProfile(setup);
    if (UsableAsToken(profile)) {
        Require(Evaluate({"DocProfile", profile, "=="}), "DocProfile is the document's profile name");
    }
    return 0;
}
