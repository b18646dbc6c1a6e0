// Before-and-after crops of the manual's sample, made by the host: the real
// module loaded from its file, its plug-ins registered from its resources,
// each Effect replayed by Set and Effect name on a fresh document of the
// sample, and the crop cut from what the document's layers show afterwards.
//
// The module remembers each run's choice for the user; while the cropper
// lives, the remembered choices go to a private folder ($XDG_CONFIG_HOME is
// pointed there), so making the manual never changes what a user's next run
// starts from.
#pragma once

#include <memory>
#include <string>

#include "host/manual/RgbPicture.h"
#include "host/manual/Sample.h"

namespace vhost::manual {

class EffectCropper {
public:
    // Loads the module into a host of its own (there can be one host per
    // process at a time). Throws ManualError when the module is refused or
    // the crop does not lie inside the sample.
    EffectCropper(const std::string& modulePath, ManualSample sample);
    ~EffectCropper();
    EffectCropper(const EffectCropper&) = delete;
    EffectCropper& operator=(const EffectCropper&) = delete;

    // The crop of the sample as it is, at 8 bits as the crops after are.
    RgbPicture Before() const;

    // Runs the Effect of that Set of the plug-in (named without "...") and
    // returns the crop of the result. Throws ManualError naming the Effect and
    // why, when the host refuses the run or the module returns an error.
    RgbPicture After(const std::string& plugin, const std::string& set, const std::string& effect);

    // What the host's accounting holds: empty when no object, block or suite
    // the module was lent is left alive and no misuse was seen.
    std::string Leftovers() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace vhost::manual
