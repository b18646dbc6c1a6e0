#include "host/core/ApplicationEvents.h"

#include "host/core/Host.h"
#include "hostapi/FourCharCode.h"

namespace vhost {

namespace {

using vlh::FourCC;

constexpr int16_t kInvalidParameters = -25923; // the event's parameters are wrong
constexpr const char* kWarningTerms[3] = {"askMismatchOpening", "askMismatchPasting", "askMissing"};

uint32_t TermID(Host& host, const char* stringID) { return host.Terms().ToTypeID(stringID).value_or(0); }

// True when the reference is [property colorSettings] of the application.
bool AimsAtColourSettings(Host& host, const Descriptor* d) {
    const Value* target = d != nullptr ? d->Find(FourCC("null")) : nullptr;
    if (target == nullptr || target->Type() != type::kReference) {
        return false;
    }
    const auto& forms = target->ReferenceValue().Forms();
    return forms.size() == 2 && forms[0].form == form::kProperty &&
           forms[0].code == TermID(host, "colorSettings") && forms[1].form == form::kEnumerated &&
           forms[1].desiredClass == FourCC("capp");
}

PlayAnswer Fail() { return PlayAnswer{kInvalidParameters, std::nullopt}; }

std::optional<PlayAnswer> SetColourSettings(Host& host, const PlayCall& call) {
    if (!AimsAtColourSettings(host, call.descriptor)) {
        return std::nullopt;
    }
    const Value* to = call.descriptor->Find(FourCC("T   "));
    if (to == nullptr || to->Type() != type::kObject) {
        return Fail();
    }
    const Descriptor& settings = to->Object();
    AppState& app = host.App();
    if (const Value* name = settings.Find(FourCC("Nm  "))) {
        if (name->Type() != type::kText || !app.SelectColourPreset(name->Text())) {
            return Fail();
        }
        return PlayAnswer{};
    }
    bool warnings[3] = {app.colour.askMismatchOpening, app.colour.askMismatchPasting, app.colour.askMissing};
    for (int i = 0; i < 3; ++i) {
        if (const Value* flag = settings.Find(TermID(host, kWarningTerms[i]))) {
            if (flag->Type() != type::kBoolean) {
                return Fail();
            }
            warnings[i] = flag->Flag();
        }
    }
    app.SetProfileWarnings(warnings[0], warnings[1], warnings[2]);
    return PlayAnswer{};
}

std::optional<PlayAnswer> Purge(Host& host, const PlayCall& call) {
    const Value* item = call.descriptor != nullptr ? call.descriptor->Find(FourCC("null")) : nullptr;
    if (item == nullptr || item->Type() != type::kEnumerated || item->EnumType() != FourCC("PrgI")) {
        return Fail();
    }
    if (item->EnumValue() == FourCC("Clpb")) {
        host.App().clipboardFull = false;
        host.App().clipboardText.clear();
    }
    return PlayAnswer{};
}

} // namespace

void InstallApplicationEvents(Host& host) {
    host.AddPlayHandler(FourCC("setd"), SetColourSettings);
    host.AddPlayHandler(FourCC("Prge"), Purge);
}

} // namespace vhost
