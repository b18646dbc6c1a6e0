// The two ways from the dialog to documentation: the user manual installed
// beside the module, and the product-information page in the browser.
#pragma once

namespace vlh {

// The manual's place relative to the folder that holds the module.
#if defined(_WIN32)
constexpr const char* kManualRelativePath = "vlh_help\\Honer-Manual-123.pdf";
#else
constexpr const char* kManualRelativePath = "vlh_help/Honer-Manual-123.pdf";
#endif

constexpr const char* kProductInformationPage = "https://www.example.com/corvane-labs/vellicor-honer/";

// Opens the manual with the system's program for it. Nothing is opened when
// the host gives no path for the module, the path has no folder, or the
// manual's path would not fit the host's 300-byte path buffer. Whether the
// file exists is the system's business.
void OpenHelpManual();

// Asks the host to show the product-information page in the browser.
void OpenInformationPage();

} // namespace vlh
