// The file-list suite: the host opens web addresses (here: it records them);
// the file and browser lists are not offered.
#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

namespace {

SPErr Unimplemented(const char* routine) {
    return Run<SPErr>(routine, NoDetail(), [](Host&) { return kSPUnimplementedError; });
}

SPErr VLH_API GetFileHandleList(PIActionDescriptor*, FSSpec*, bool) {
    return Unimplemented("FileList.GetFileHandleList");
}

SPErr VLH_API GetBrowserNameList(PIActionDescriptor*) {
    return Unimplemented("FileList.GetBrowserNameList");
}

SPErr Browse(const char* routine, const char* url) {
    return Run<SPErr>(
        routine, [&](Host&) { return S(url); },
        [&](Host& h) -> SPErr {
            if (url == nullptr) {
                return kSPBadParameterError;
            }
            h.App().lastUrl.assign(url, BoundedLength(url, kMaxText));
            h.App().browsedUrls.push_back(h.App().lastUrl);
            return kSPNoError;
        });
}

SPErr VLH_API BrowseUrlWithIndexBrowser(uint16_t, const char* url) {
    return Browse("FileList.BrowseUrlWithIndexBrowser", url);
}

SPErr VLH_API BrowseUrl(const char* url) {
    return Browse("FileList.BrowseUrl", url);
}

SPErr VLH_API GetBrowserFileSpec(uint16_t, SPPlatformFileSpecification*) {
    return Unimplemented("FileList.GetBrowserFileSpec");
}

SPErr VLH_API GetDefaultSystemScript(int16_t* script) {
    constexpr const char* kRoutine = "FileList.GetDefaultSystemScript";
    return Run<SPErr>(kRoutine, NoDetail(), [&](Host& h) -> SPErr {
        if (NullOut(h, kRoutine, script)) {
            return kSPBadParameterError;
        }
        *script = 0; // roman
        return kSPNoError;
    });
}

SPErr VLH_API HasDoubleByteInString(const char* text, bool* hasDoubleByte) {
    constexpr const char* kRoutine = "FileList.HasDoubleByteInString";
    return Run<SPErr>(
        kRoutine, [&](Host&) { return S(text); },
        [&](Host& h) -> SPErr {
            if (text == nullptr || NullOut(h, kRoutine, hasDoubleByte)) {
                return kSPBadParameterError;
            }
            *hasDoubleByte = false; // 8-bit texts only
            return kSPNoError;
        });
}

SPErr VLH_API GetWebTemplateFolderSpec(SPPlatformFileSpecification*) {
    return Unimplemented("FileList.GetWebTemplateFolderSpec");
}

SPErr VLH_API GetWebTemplateList(PIActionDescriptor*, bool) {
    return Unimplemented("FileList.GetWebTemplateList");
}

const PSGetFileListSuite4 kFileListSuite = {
    GetFileHandleList,  GetBrowserNameList,     BrowseUrlWithIndexBrowser, BrowseUrl,
    GetBrowserFileSpec, GetDefaultSystemScript, HasDoubleByteInString,     GetWebTemplateFolderSpec,
    GetWebTemplateList,
};

} // namespace

const PSGetFileListSuite4& FileListSuiteTable() {
    return kFileListSuite;
}

} // namespace vhost::suites
