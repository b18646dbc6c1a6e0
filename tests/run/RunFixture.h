// End-to-end runs of the real module: a document to play on, the catalogue's
// own Effects to compare with, the stored parameters and the manual opener
// observed from outside.
#pragma once

#include "actionsets/ActionSet.h"
#include "tests/support/EndToEnd.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vhost::e2e {

constexpr const char* kOutputMenu = "Vellicor Output Honer...";
constexpr const char* kCaptureMenu = "Vellicor Capture Honer...";
constexpr const char* kCreativeMenu = "Vellicor Creative Honer...";
constexpr const char* kInkjet = "Inkjet Output Honers";
constexpr const char* kGlossy300 = "Glossy and Lustre Paper, 300 ppi";

// The Set and Effect a plug-in remembers for this user; empty texts when it
// remembers none.
std::pair<std::string, std::string> RememberedChoice(const std::string& pluginName);

class RunTest : public EndToEndTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A replay with the two parameters and no dialog.
    DoItResult Replay(const std::string& menu, const std::string& set, const std::string& effect);
    // A parameter descriptor with the Set and Effect names.
    static Descriptor Parameters(const std::string& set, const std::string& effect);

    // The event names of an Effect as the module stores it (read here from
    // the module's own stored Sets, not from the host's log).
    static std::vector<std::string> StoredEventNames(const std::string& pluginName, const std::string& set,
                                                     const std::string& effect);
    // The string IDs of the events played, in order.
    std::vector<std::string> Played() const;

    static std::pair<std::string, std::string> Remembered(const std::string& pluginName) {
        return RememberedChoice(pluginName);
    }

    // What the fake opener was asked to open, one line per call.
    std::vector<std::string> Opened() const;

    std::filesystem::path openerDir;
    std::string savedPath;
};

} // namespace vhost::e2e
