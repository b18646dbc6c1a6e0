// Sending requests to a plug-in with the real message records.
#include <cstring>
#include <exception>

#include "host/core/Host.h"
#include "host/loader/ResourceRegistration.h"

namespace vhost {

namespace {

constexpr const char* kDoItParameters = "host: Do It parameters";
constexpr const char* kParametersField = "PIActionParameters.descriptor";

} // namespace

SPMessageData Host::MessageData(PluginRecord& plugin) {
    SPMessageData d{};
    d.SPCheck = kSPValidSPMessageData;
    d.self = plugin.Ref();
    d.globals = plugin.globals;
    d.basic = BasicSuite();
    return d;
}

SPErr Host::CallEntry(PluginRecord& plugin, const char* caller, const char* selector, void* message) {
    if (plugin.entry == nullptr) {
        return kSPBadParameterError;
    }
    // PluginMain is a C function; an exception escaping it is the module's
    // fault, caught here so the host survives to report it.
    try {
        return plugin.entry(caller, selector, message);
    } catch (...) {
        books_.AddViolation("PluginMain", std::string("an exception escaped ") + caller + "/" + selector);
        return kSPBadParameterError;
    }
}

SPErr Host::SendRequest(PluginRecord& plugin, const char* caller, const char* selector) {
    if (std::strcmp(caller, kSPAccessCaller) == 0) {
        SPAccessMessage message{};
        message.d = MessageData(plugin);
        message.when = std::strcmp(selector, kSPAccessUnloadSelector) == 0 ? 2 : 1;
        const SPErr r = CallEntry(plugin, caller, selector, &message);
        plugin.globals = message.d.globals;
        return r;
    }
    SPMessageData message = MessageData(plugin);
    const SPErr r = CallEntry(plugin, caller, selector, &message);
    plugin.globals = message.globals;
    return r;
}

DoItResult Host::DoIt(PluginRecord& plugin, const DoItRequest& request) {
    if (std::optional<std::string> refusal = RefusalForActiveDocument(*this, plugin)) {
        DoItResult refused;
        refused.result = kRequestRefused;
        refused.refusal = std::move(refusal);
        return refused;
    }
    PIActionParameters params{request.playInfo, request.recordInfo, nullptr};
    void* input = nullptr;
    if (request.descriptor) {
        input = books_.Register(std::make_unique<Descriptor>(*request.descriptor), kDoItParameters);
        params.descriptor = static_cast<PIActionDescriptor>(input);
    }
    PSActionsPlugInMessage message{};
    message.d = MessageData(plugin);
    message.actionParameters = &params;

    DoItResult result;
    result.result = CallEntry(plugin, kPSPhotoshopCaller, kPSDoIt, &message);
    plugin.globals = message.d.globals;
    result.recordInfo = params.recordInfo;

    // The host owns whatever the parameters hold now.
    void* output = params.descriptor;
    if (output != nullptr) {
        const auto kind = books_.KindOf(output);
        if (!kind) {
            books_.AddViolation(kParametersField,
                                "holds " + books_.HandleName(output) + ", which is not live");
        } else if (*kind != ObjectKind::Descriptor) {
            books_.AddViolation(kParametersField,
                                "holds " + books_.HandleName(output) + ", a " + KindName(*kind));
        } else {
            result.descriptor = std::move(*books_.TakeDescriptor(output));
        }
    }
    // An input replaced without being freed is the host's to free, once.
    if (input != nullptr && input != output) {
        books_.TakeDescriptor(input);
    }
    return result;
}

} // namespace vhost
