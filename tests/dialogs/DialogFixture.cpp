#include "tests/dialogs/DialogFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "hostapi/FourCharCode.h"

namespace vlh::dialogs {

namespace fs = std::filesystem;

void DialogTest::SetUp() {
    EndToEndTest::SetUp();
    ASSERT_TRUE(x.Ok()) << "no X server with the XTest extension (run under scripts/with-xvfb)";
    hostWindow = vhost::ui::MainWindow::Open();
    ASSERT_NE(nullptr, hostWindow) << "the host could not show its main window";
    host.App().mainWindow = hostWindow->Handle();

    vhost::Document document;
    document.width = 3000;
    document.height = 1500;
    document.resolution = 300;
    host.OpenDocument(document);

    // An xdg-open that writes each argument on a line of opened.txt.
    const fs::path bin = fs::path(configHome) / "bin";
    fs::create_directories(bin);
    {
        std::ofstream opener(bin / "xdg-open");
        opener << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" << (fs::path(configHome) / "opened.txt").string()
               << "'\n";
    }
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    savedPath_ = path != nullptr ? path : "";
    setenv("PATH", (bin.string() + ":" + savedPath_).c_str(), 1);
}

void DialogTest::TearDown() {
    setenv("PATH", savedPath_.c_str(), 1);
    if (hostWindow) {
        EXPECT_TRUE(hostWindow->Alive()) << "the module destroyed the host's main window";
        const auto geometry = x.Geometry(hostWindow->XWindow());
        EXPECT_TRUE(geometry && geometry->viewable) << "the host's main window is no longer on the screen";
        hostWindow.reset();
    }
    EndToEndTest::TearDown();
}

vhost::DoItResult DialogTest::RunDialog(const std::string& plugin, DialogScript& script,
                                        std::optional<std::string> set, std::optional<std::string> effect) {
    vhost::DoItRequest request;
    request.playInfo = plugInDialogDisplay;
    if (set || effect) {
        request.descriptor.emplace();
        if (set) {
            request.descriptor->Put(FourCC("VlSt"), vhost::Value::String(*set));
        }
        if (effect) {
            request.descriptor->Put(FourCC("VlAc"), vhost::Value::String(*effect));
        }
    }
    vhost::DoItResult result;
    script.RunDuring([&] { result = DoIt(plugin, request); });
    return result;
}

SPErr DialogTest::RunAbout(DialogScript& script) {
    SPErr result = 0;
    script.RunDuring([&] { result = host.About(Plugin(kCapture)); });
    return result;
}

std::optional<std::string> DialogTest::Returned(const vhost::DoItResult& result, const char* key) {
    if (!result.descriptor) {
        return std::nullopt;
    }
    const vhost::Value* value = result.descriptor->Find(FourCCFromBytes(key));
    if (value == nullptr || value->Type() != vhost::type::kText) {
        return std::nullopt;
    }
    return value->Text();
}

vhost::ListedPlugin Listed(const std::string& plugin) {
    const std::string name = plugin.substr(0, plugin.size() - 3); // without "..."
    for (vhost::ListedPlugin& listed : vhost::ListModuleSets(vhost::e2e::HonerPath())) {
        if (listed.name == name) {
            return listed;
        }
    }
    ADD_FAILURE() << "the module stores no Sets for " << plugin;
    return {};
}

std::vector<std::string> DialogTest::Opened() const {
    std::vector<std::string> lines;
    std::ifstream in(fs::path(configHome) / "opened.txt");
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace vlh::dialogs
