// `vellicor sheet`: a contact sheet of every Effect of a plug-in on one image,
// for judging the recipes by eye. Each Effect is played by the real module in
// the host on the whole image; the sheet shows the same 100 % crop before and
// after each, under the Set's and the Effect's names. The user's remembered
// Set and Effect are left alone: the runs remember theirs in a private folder.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/catalogue/ModuleSets.h"
#include "host/cli/CommandLine.h"
#include "host/cli/Commands.h"
#include "host/cli/DefaultModule.h"
#include "host/cli/RunArguments.h"
#include "host/cli/RunOutputs.h"
#include "host/cli/RunProgress.h"
#include "host/cli/SheetDraw.h"
#include "host/cli/SheetLayout.h"
#include "host/core/Host.h"
#include "host/core/PrivateSettings.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"
#include "host/engine/EngineError.h"
#include "host/engine/ImageFile.h"
#include "host/engine/Vips.h"
#include "host/loader/ResourceRegistration.h"
#include "host/resources/ResourceError.h"
#include "hostapi/FourCharCode.h"

namespace vhost::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kCropWidth = 320;
constexpr int kCropHeight = 240;
constexpr int kDefaultColumns = 4;
constexpr int kMaxColumns = 16;
const std::vector<std::string> kFlags = {"help"};
const std::vector<std::string> kOptions = {"plugin",  "set",    "effect", "crop",
                                           "columns", "module", "output", "help"};

void Help() {
    std::printf(
        "usage: vellicor sheet --plugin NAME IMAGE -o SHEET.png [options]\n"
        "\n"
        "A contact sheet of every Effect of a plug-in on one image: the same 100 %% crop before and\n"
        "after each Effect, under the names of its Set and the Effect.\n"
        "\n"
        "  --plugin NAME     the plug-in, e.g. \"Vellicor Capture Honer\"\n"
        "  --set SET         only the Effects of this Set\n"
        "  --effect EFFECT   only this Effect of the Set (a before-and-after picture)\n"
        "  --crop L,T,W,H    the crop: left, top, width, height in pixels (default the image's\n"
        "                    central %d x %d)\n"
        "  --columns N       Effects per row (default %d)\n"
        "  --module FILE     the module (default: %s beside this command or in its installed plug-ins\n"
        "                    folder, else the one built with it)\n"
        "  -o SHEET          the sheet; .png, .tif or .jpg\n"
        "\n"
        "Exit status: 0 when every Effect played and the host's accounting is clean; 1 when one\n"
        "failed (its crop says so) or the image was refused; 2 for bad usage.\n",
        kCropWidth, kCropHeight, kDefaultColumns, kModuleFile);
}

int Usage(const std::string& why) {
    return UsageError("sheet", why);
}

int Failure(const std::string& why) {
    return CommandFailure("sheet", why);
}

struct Crop {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

std::optional<std::string> ReadCrop(const CommandLine& cl, const engine::Picture& picture, Crop& crop) {
    crop.width = std::min(kCropWidth, picture.width);
    crop.height = std::min(kCropHeight, picture.height);
    crop.left = (picture.width - crop.width) / 2;
    crop.top = (picture.height - crop.height) / 2;
    const std::optional<std::string> text = cl.Value("crop");
    if (!text) {
        return std::nullopt;
    }
    std::vector<long> parts;
    std::stringstream in(*text);
    for (std::string part; std::getline(in, part, ',');) {
        const auto n = ParseNumber(part, 0, 1000000);
        if (!n) {
            return std::string("--crop wants LEFT,TOP,WIDTH,HEIGHT in whole pixels");
        }
        parts.push_back(*n);
    }
    if (parts.size() != 4 || parts[2] < 1 || parts[3] < 1 || parts[0] + parts[2] > picture.width ||
        parts[1] + parts[3] > picture.height) {
        return "--crop wants LEFT,TOP,WIDTH,HEIGHT inside the image's " + std::to_string(picture.width) +
               " x " + std::to_string(picture.height) + " pixels";
    }
    crop = {static_cast<int>(parts[0]), static_cast<int>(parts[1]), static_cast<int>(parts[2]),
            static_cast<int>(parts[3])};
    return std::nullopt;
}

// The plug-in's Sets and Effects that the sheet shows.
std::optional<std::string> ChooseSets(const CommandLine& cl, const std::string& modulePath,
                                      const std::string& pluginName, std::vector<ListedSet>& sets) {
    std::vector<ListedPlugin> plugins;
    try {
        plugins = ListModuleSets(modulePath);
    } catch (const ResourceError& error) {
        return "cannot read the Sets of \"" + modulePath + "\": " + error.what();
    }
    const std::string name =
        pluginName.ends_with("...") ? pluginName.substr(0, pluginName.size() - 3) : pluginName;
    const ListedPlugin* plugin = nullptr;
    std::string known;
    for (const ListedPlugin& p : plugins) {
        plugin = p.name == name ? &p : plugin;
        known += "\n  " + p.name;
    }
    if (plugin == nullptr) {
        return "the module has no plug-in \"" + pluginName + "\"; it has:" + known;
    }
    const std::optional<std::string> set = cl.Value("set");
    const std::optional<std::string> effect = cl.Value("effect");
    if (effect && !set) {
        return std::string("--effect goes with --set");
    }
    for (const ListedSet& s : plugin->sets) {
        if (set && s.name != *set) {
            continue;
        }
        ListedSet chosen{s.name, {}};
        for (const std::string& e : s.effects) {
            if (!effect || e == *effect) {
                chosen.effects.push_back(e);
            }
        }
        if (chosen.effects.empty()) {
            return "the Set \"" + s.name + "\" has no Effect \"" + effect.value_or("") + "\"";
        }
        sets.push_back(std::move(chosen));
    }
    if (sets.empty()) {
        return plugin->name + " has no Set \"" + set.value_or("") + "\"";
    }
    return std::nullopt;
}

// ---- the Effects ---------------------------------------------------------

class EffectPlayer {
public:
    EffectPlayer(const engine::Picture& picture, const Crop& crop) : picture_(picture), crop_(crop) {
        notes_ = engine::InstallEngine(host_);
    }

    std::optional<std::string> Register(const std::string& modulePath, const std::string& pluginName) {
        std::string error;
        if (RegisterModuleFromResources(host_, modulePath, error).empty()) {
            return "module refused: " + error;
        }
        plugin_ = host_.FindPlugin(pluginName.ends_with("...") ? pluginName : pluginName + "...");
        if (plugin_ == nullptr) {
            return "the module registers no plug-in \"" + pluginName + "\"";
        }
        return std::nullopt;
    }

    SheetTile Play(const std::string& set, const std::string& effect) {
        host_.OpenDocument(engine::DocumentFromPicture(picture_, ""));
        host_.Events().Clear();
        DoItRequest request;
        request.descriptor.emplace();
        request.descriptor->Put(vlh::FourCC("VlSt"), Value::String(set));
        request.descriptor->Put(vlh::FourCC("VlAc"), Value::String(effect));
        const DoItResult result = host_.DoIt(*plugin_, request);
        SheetTile played;
        if (result.result != 0) {
            played.failure = "failed with " + std::to_string(result.result) +
                             (notes_->lastFailure.empty() ? "" : ": " + notes_->lastFailure);
        } else if (!host_.Clean()) {
            played.failure = "the host's accounting is not clean:\n" + host_.Report();
        } else {
            const vips::VImage shown = host_.ActiveDocument()->pixels->layers.Composite();
            played.crop = shown.extract_area(crop_.left, crop_.top, crop_.width, crop_.height).copy_memory();
        }
        host_.CloseDocument();
        return played;
    }

    bool Clean() const { return host_.Clean(); }
    std::string Report() const { return host_.Report(); }

private:
    Host host_;
    std::shared_ptr<const engine::EngineNotes> notes_;
    PluginRecord* plugin_ = nullptr;
    const engine::Picture& picture_;
    Crop crop_;
};

std::string Title(const std::string& plugin, const std::string& image, const Crop& crop) {
    // The blanks inside "100 %" and the sizes do not break (U+00A0).
    const std::string nbsp = "\u00a0";
    return plugin + " on " + fs::path(image).filename().string() + ": crops at 100" + nbsp + "%, " +
           std::to_string(crop.width) + nbsp + "x" + nbsp + std::to_string(crop.height) + " pixels from (" +
           std::to_string(crop.left) + ", " + std::to_string(crop.top) + ")";
}

void Save(const vips::VImage& canvas, const std::string& path) {
    engine::Picture picture;
    picture.width = canvas.width();
    picture.height = canvas.height();
    picture.depth = 8;
    picture.profileName = engine::kNoProfileName;
    picture.rgb = canvas.linear(1.0 / 255.0, 0.0);
    engine::SavePicture(picture, path);
}

std::string Position(const SheetBox& box) {
    return std::to_string(box.left) + "," + std::to_string(box.top);
}

struct SheetRequest {
    std::string plugin;
    std::string image;
    std::string output;
    std::string modulePath;
    int columns = kDefaultColumns;
};

std::optional<std::string> ReadRequest(const CommandLine& cl, const SplitArguments& split, SheetRequest& r) {
    if (split.images.size() != 1) {
        return std::string("give one image");
    }
    r.image = split.images.front();
    const std::optional<std::string> plugin = cl.Value("plugin");
    const std::optional<std::string> output = cl.Value("output");
    if (!plugin || !output) {
        return std::string(!plugin ? "--plugin is required" : "-o SHEET is required");
    }
    r.plugin = *plugin;
    r.output = *output;
    if (!IsImageFileName(r.output)) {
        return "cannot write \"" + r.output + "\": the name must end in .png, .tif, .tiff, .jpg or .jpeg";
    }
    if (auto columns = cl.Value("columns")) {
        const auto n = ParseNumber(*columns, 1, kMaxColumns);
        if (!n) {
            return "--columns wants a whole number from 1 to " + std::to_string(kMaxColumns);
        }
        r.columns = static_cast<int>(*n);
    }
    r.modulePath = cl.Value("module").value_or(DefaultModulePath());
    if (r.modulePath.empty()) {
        return std::string("no ") + kModuleFile + " beside this command; name one with --module FILE";
    }
    return std::nullopt;
}

int MakeSheet(const CommandLine& cl, const SheetRequest& r) {
    std::vector<ListedSet> sets;
    if (auto why = ChooseSets(cl, r.modulePath, r.plugin, sets)) {
        return Usage(*why);
    }
    engine::Picture picture;
    try {
        picture = engine::LoadPicture(r.image);
        // Decoded once; every Effect starts from these pixels.
        picture.rgb = picture.rgb.copy_memory();
    } catch (const engine::EngineError& refused) {
        return Failure(refused.what());
    } catch (const vips::VError& failure) {
        return Failure("cannot read \"" + r.image + "\": " + engine::VipsMessage(failure));
    }
    Crop crop;
    if (auto why = ReadCrop(cl, picture, crop)) {
        return Usage(*why);
    }
    const PrivateSettings settings("vellicor-sheet");
    if (!settings.Ok()) {
        return Failure("cannot make a private settings folder in " + PrivateSettings::Parent());
    }
    EffectPlayer player(picture, crop);
    if (auto why = player.Register(r.modulePath, r.plugin)) {
        return Failure(*why);
    }
    SheetLabels labels;
    const SheetLayout layout = LayOutSheet(
        LabelSheet(sets, {crop.width, crop.height}, r.columns, Title(r.plugin, r.image, crop), labels));
    std::vector<SheetTile> played;
    ProgressBar bar("sheet of " + std::to_string(layout.cells.size()) + " Effects");
    for (const SheetCell& cell : layout.cells) {
        played.push_back(player.Play(cell.set, cell.effect));
        bar.Show(static_cast<double>(played.size()) / static_cast<double>(layout.cells.size()));
    }
    bar.Clear();
    const vips::VImage before = picture.rgb.extract_area(crop.left, crop.top, crop.width, crop.height);
    try {
        Save(DrawSheet(layout, labels, before, played), r.output);
    } catch (const engine::EngineError& failure) {
        return Failure(failure.what());
    } catch (const vips::VError& failure) {
        return Failure("cannot draw the sheet: " + engine::VipsMessage(failure));
    }
    std::cout << "sheet      " << r.output << ", " << layout.size.width << " x " << layout.size.height
              << " pixels\n"
              << "image      " << r.image << ", crop " << crop.width << " x " << crop.height << " at "
              << crop.left << "," << crop.top << "\n";
    size_t failed = 0;
    for (size_t i = 0; i < layout.cells.size(); ++i) {
        const SheetCell& cell = layout.cells[i];
        failed += played[i].crop ? 0 : 1;
        std::cout << (played[i].crop ? "  ok      " : "  FAILED  ") << cell.set << " / " << cell.effect
                  << "  before " << Position(cell.before) << "  after " << Position(cell.after) << '\n';
    }
    const bool clean = player.Clean();
    std::cout << "accounting " << (clean ? "clean" : "NOT CLEAN") << '\n' << player.Report();
    if (failed > 0 || !clean) {
        return Failure(std::to_string(failed) + " of " + std::to_string(layout.cells.size()) +
                       " Effects failed" + (clean ? "" : ", and the host's accounting is not clean"));
    }
    return 0;
}

} // namespace

int SheetCommand(const std::vector<std::string>& args) {
    const SplitArguments split = SplitImages(args, kFlags);
    CommandLine cl(split.options, kFlags);
    if (auto done = CheckLine("sheet", cl, kOptions, Help)) {
        return *done;
    }
    SheetRequest request;
    if (auto why = ReadRequest(cl, split, request)) {
        return Usage(*why);
    }
    try {
        engine::StartVips();
        return MakeSheet(cl, request);
    } catch (const std::exception& e) {
        return Failure(e.what());
    }
}

} // namespace vhost::cli
