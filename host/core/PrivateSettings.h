// The module's per-user settings in a fresh folder for as long as this lives:
// $XDG_CONFIG_HOME points there, and afterwards the folder is removed and the
// previous value put back. Runs made for a contact sheet or the manual thus
// neither read nor change the Set and Effect the user last chose.
#pragma once

#include <optional>
#include <string>

namespace vhost {

class PrivateSettings {
public:
    // `prefix` names the folder made in the temporary directory
    // ("vellicor-sheet" gives /tmp/vellicor-sheet-XXXXXX).
    explicit PrivateSettings(const std::string& prefix);
    ~PrivateSettings();
    PrivateSettings(const PrivateSettings&) = delete;
    PrivateSettings& operator=(const PrivateSettings&) = delete;

    // False when no folder could be made; the settings then stay the user's.
    bool Ok() const { return !path_.empty(); }
    // The folder; empty when none could be made.
    const std::string& Path() const { return path_; }
    // Where the folder is or would have been made, for a message.
    static std::string Parent();

private:
    std::string path_;
    std::optional<std::string> previous_;
};

} // namespace vhost
