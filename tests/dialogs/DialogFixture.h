// The fixture of the dialog tests: the real module (Honer.8li) in the real
// host, the host's main window on an X server, a document of 3000 x 1500
// pixels at 300 ppi (720 x 360 points), and an xdg-open of the test's own
// first on PATH that records what it was asked to open. TearDown checks that
// the host's window survived and, through EndToEndTest, that the host's
// accounting shows nothing left alive.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/catalogue/ModuleSets.h"
#include "host/ui/MainWindow.h"
#include "tests/dialogs/DialogScript.h"
#include "tests/dialogs/XSession.h"
#include "tests/support/EndToEnd.h"

namespace vlh::dialogs {

constexpr const char* kCapture = "Vellicor Capture Honer...";
constexpr const char* kCreative = "Vellicor Creative Honer...";
constexpr const char* kOutput = "Vellicor Output Honer...";
constexpr const char* kExpert = "Vellicor Capture Honer Expert...";

// The Sets and Effects the module stores for a plug-in (menu name), as the
// host reads them from the module file.
vhost::ListedPlugin Listed(const std::string& plugin);

class DialogTest : public vhost::e2e::EndToEndTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A "Do It" request of the plug-in (menu name) asking for the dialog,
    // with Set and Effect handed in as scripting parameters when given, while
    // the script plays the user.
    vhost::DoItResult RunDialog(const std::string& plugin, DialogScript& script,
                                std::optional<std::string> set = std::nullopt,
                                std::optional<std::string> effect = std::nullopt);
    // The about request of the Capture plug-in while the script plays the user.
    SPErr RunAbout(DialogScript& script);

    // The text under key in the descriptor the module handed back; nullopt
    // when it handed none back or the key is missing.
    static std::optional<std::string> Returned(const vhost::DoItResult& result, const char* key);
    // The documents the fake xdg-open was asked to open, in order.
    std::vector<std::string> Opened() const;
    // History states of the active document.
    const std::vector<std::string>& History() { return host.ActiveDocument()->history; }

    std::unique_ptr<vhost::ui::MainWindow> hostWindow;
    XSession x;

private:
    std::string savedPath_;
};

} // namespace vlh::dialogs
