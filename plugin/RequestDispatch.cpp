#include "plugin/RequestDispatch.h"

#include "about/AboutDlg.h"
#include "hostapi/HostSuites.h"
#include "hostapi/HostValues.h"
#include "plugin/RunDriver.h"
#include "plugin/Toolkit.h"

#include <cstring>

namespace vlh {

namespace {

constexpr SPErr kErrDocumentTooDeep = -30914; // 16-bit document on a host older than 8

// Holds the eight suites for the length of one request.
class SuiteLease {
public:
    SuiteLease() : acquired_(AcquireHostSuites()) {}
    ~SuiteLease() { ReleaseHostSuites(); }
    SuiteLease(const SuiteLease&) = delete;
    SuiteLease& operator=(const SuiteLease&) = delete;
    bool acquired() const { return acquired_; }

private:
    bool acquired_;
};

bool IsRequest(const char* caller, const char* selector, const char* wantedCaller, const char* wantedSelector) {
    if (caller == nullptr || selector == nullptr) {
        return false;
    }
    return gHost.basic->IsEqual(caller, wantedCaller) != 0 && gHost.basic->IsEqual(selector, wantedSelector) != 0;
}

SPErr HandleAbout() {
    ToolkitSession toolkit;
    ShowAboutDlg(kAboutPicture, kAboutPictureSize);
    return 0;
}

// The host must be able to run our recipes: a 16-bit document needs a host of
// major version 8 or later, and the "Elements" hosts lack what they need.
SPErr CheckHostFitness() {
    if (GetDocumentDepth() == 16 && GetHostMajorVersion() < 8) {
        return kErrDocumentTooDeep;
    }
    char hostName[256] = {};
    GetHostName(hostName, sizeof hostName);
    hostName[sizeof hostName - 1] = '\0';
    if (std::strstr(hostName, "Elements") != nullptr) {
        return errPlugInHostInsufficient;
    }
    return 0;
}

SPErr HandleRun(PIActionParameters* params) {
    ToolkitSession toolkit;
    if (SPErr fitness = CheckHostFitness(); fitness != 0) {
        return fitness;
    }
    char pluginName[256] = {};
    ReadPluginName(pluginName, sizeof pluginName);
    return RunPlugin(pluginName, params);
}

} // namespace

SPErr HandleRequest(const char* caller, const char* selector, void* message) {
    if (message == nullptr) {
        return errPlugInHostInsufficient;
    }
    const auto* data = static_cast<const SPMessageData*>(message);
    gHost.basic = data->basic;
    gHost.self = data->self;

    SuiteLease suites;
    if (!suites.acquired()) {
        return errPlugInHostInsufficient;
    }
    if (IsRequest(caller, selector, kSPInterfaceCaller, kSPInterfaceAboutSelector)) {
        return HandleAbout();
    }
    if (IsRequest(caller, selector, kPSPhotoshopCaller, kPSDoIt)) {
        PIActionParameters* params = static_cast<const PSActionsPlugInMessage*>(message)->actionParameters;
        if (params == nullptr) {
            return kSPBadParameterError;
        }
        return HandleRun(params);
    }
    return 0;
}

} // namespace vlh
