// The application's own state as the module can see it through Get, plus what
// the host keeps of the module's requests (URL browsed, file path handed out).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vhost {

// The colour settings: a named preset, or "Custom" with the three profile
// warnings as the user left them.
struct ColourSettings {
    std::string name = "Custom";
    bool askMismatchOpening = false;
    bool askMismatchPasting = false;
    bool askMissing = false;

    bool operator==(const ColourSettings&) const = default;
};

struct AppState {
    std::string hostName = "Vellicor Host";
    int32_t versionMajor = 24;
    int32_t versionMinor = 0;
    uint32_t rulerUnits = 0x52725078; // 'RrPx'
    ColourSettings colour;
    bool clipboardFull = false;
    std::string clipboardText;
    std::string lastUrl;                  // last FileList.BrowseUrl
    std::vector<std::string> browsedUrls; // every URL browsed, in order
    std::string lastFileSpecPath;         // last path Plugins.GetPluginFileSpecification handed out
    std::vector<std::string> history;     // history states made while no document was open
    intptr_t mainWindow = 0;              // what UIHooks.MainAppWindow answers (a GTK window later)

    // The named presets this host offers, each with its own warnings.
    static const std::vector<ColourSettings>& Presets();
    // Selects a preset by exact name; false (and nothing changed) for a name
    // that is no preset. "Custom" is no preset.
    bool SelectColourPreset(const std::string& name);
    // Sets the three warnings; the settings become "Custom".
    void SetProfileWarnings(bool opening, bool pasting, bool missing);
};

} // namespace vhost
