// A tiny module for the loader tests. Its "Do It" does what the text under
// 'mode' in the input descriptor asks, so each test can make it behave well or
// badly in one exact way:
//   echo      frees the input, hands back {'Nm  ': own name, 'path': own file}
//   keep      leaves the input in place
//   replace   puts a new descriptor without freeing the input
//   leak      makes a descriptor and never frees it
//   garbage   leaves a pointer that is no descriptor in the parameters
//   freed     frees the input and leaves its handle in the parameters
//   hold      does not release the descriptor suite
// With no descriptor it returns the playInfo it received plus 100.
// "SP Interface"/"About" counts the calls in the plug-in's globals and returns
// the count.
#include <cstdint>
#include <cstring>
#include <string>

#include "hostapi/FourCharCode.h"
#include "hostapi/HostInterface.h"

namespace {

using vlh::FourCC;

SPErr DoIt(PSActionsPlugInMessage* message) {
    SPBasicSuite* basic = message->d.basic;
    const PSActionDescriptorProcs* d = nullptr;
    const ASZStringSuite* z = nullptr;
    const PSUIHooksSuite1* ui = nullptr;
    const SPPluginsSuite4* pl = nullptr;
    if (basic->AcquireSuite(kPSActionDescriptorSuite, 2, reinterpret_cast<const void**>(&d)) != 0) {
        return errPlugInHostInsufficient;
    }
    basic->AcquireSuite(kASZStringSuite, 1, reinterpret_cast<const void**>(&z));
    basic->AcquireSuite(kPSUIHooksSuite, 1, reinterpret_cast<const void**>(&ui));
    basic->AcquireSuite(kSPPluginsSuite, 4, reinterpret_cast<const void**>(&pl));

    PIActionParameters* params = message->actionParameters;
    SPErr result = 0;
    std::string mode;
    if (params->descriptor == nullptr) {
        result = 100 + params->playInfo;
    } else {
        char text[32] = {};
        d->GetString(params->descriptor, FourCC("mode"), text, sizeof text);
        mode = text;
    }
    PIActionDescriptor made = nullptr;
    if (mode == "echo") {
        d->Free(params->descriptor);
        d->Make(&made);
        ASZString name = nullptr;
        ui->GetPluginName(message->d.self, &name);
        char text[256] = {};
        z->AsCString(name, text, sizeof text, 1);
        z->Release(name);
        d->PutString(made, FourCC("Nm  "), text);
        SPPlatformFileSpecification location;
        pl->GetPluginFileSpecification(message->d.self, &location);
        d->PutString(made, FourCC("path"), location.path);
        params->descriptor = made;
        params->recordInfo = plugInDialogNone;
    } else if (mode == "replace") {
        d->Make(&made);
        d->PutBoolean(made, FourCC("new "), 1);
        params->descriptor = made;
    } else if (mode == "leak") {
        d->Make(&made);
    } else if (mode == "garbage") {
        static int notADescriptor = 0;
        params->descriptor = reinterpret_cast<PIActionDescriptor>(&notADescriptor);
    } else if (mode == "freed") {
        d->Free(params->descriptor);
    }
    if (mode != "hold") {
        basic->ReleaseSuite(kPSActionDescriptorSuite, 2);
    }
    basic->ReleaseSuite(kASZStringSuite, 1);
    basic->ReleaseSuite(kPSUIHooksSuite, 1);
    basic->ReleaseSuite(kSPPluginsSuite, 4);
    return result;
}

} // namespace

extern "C" __attribute__((visibility("default"))) SPErr PluginMain(const char* caller, const char* selector,
                                                                   void* message) {
    auto* data = static_cast<SPMessageData*>(message);
    if (data == nullptr || data->SPCheck != kSPValidSPMessageData) {
        return kSPBadParameterError;
    }
    if (data->basic->IsEqual(caller, kPSPhotoshopCaller) && data->basic->IsEqual(selector, kPSDoIt)) {
        return DoIt(static_cast<PSActionsPlugInMessage*>(message));
    }
    if (data->basic->IsEqual(caller, kSPInterfaceCaller) &&
        data->basic->IsEqual(selector, kSPInterfaceAboutSelector)) {
        const auto count = reinterpret_cast<intptr_t>(data->globals) + 1;
        data->globals = reinterpret_cast<void*>(count);
        return static_cast<SPErr>(count);
    }
    if (data->basic->IsEqual(caller, kSPAccessCaller)) {
        return static_cast<SPAccessMessage*>(message)->when;
    }
    return 0;
}
