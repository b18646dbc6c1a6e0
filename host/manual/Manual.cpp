#include "host/manual/Manual.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "host/manual/EffectCrops.h"
#include "host/manual/Logo.h"
#include "host/manual/ManualContent.h"
#include "host/manual/ManualError.h"
#include "host/manual/PagePlan.h"
#include "host/manual/Pages.h"
#include "host/manual/Sample.h"

namespace vhost::manual {

namespace {

namespace fs = std::filesystem;

// Each Effect's crop after it, in catalogue order, and the one before.
struct Crops {
    std::optional<PdfPicture> before;
    std::vector<std::vector<std::vector<PdfPicture>>> after; // plug-in, Set, Effect
};

Crops MakeCrops(const ManualRequest& request, const ManualContent& content, const ManualSample& sample) {
    Crops crops;
    EffectCropper cropper(request.modulePath, sample);
    crops.before.emplace(cropper.Before());
    for (const PluginEntry& plugin : content.plugins) {
        auto& ofPlugin = crops.after.emplace_back();
        size_t count = 0;
        for (const SetEntry& set : plugin.sets) {
            auto& ofSet = ofPlugin.emplace_back();
            for (const EffectEntry& effect : set.effects) {
                ofSet.emplace_back(cropper.After(plugin.name, set.name, effect.name));
                ++count;
            }
        }
        if (request.progress) {
            request.progress(plugin.name + ": " + std::to_string(count) + " Effects run");
        }
    }
    if (const std::string leftovers = cropper.Leftovers(); !leftovers.empty()) {
        throw ManualError("the host is not clean after running the Effects:\n" + leftovers);
    }
    return crops;
}

// Checks that the pages drawn so far end where the plan says.
void ExpectPage(const PdfDocument& pdf, int page, const std::string& part) {
    if (pdf.PageNumber() != page) {
        throw ManualError(part + " ends on page " + std::to_string(pdf.PageNumber()) + ", not on page " +
                          std::to_string(page) + " as planned");
    }
}

void Draw(PdfDocument& pdf, const ManualRequest& request, const ManualContent& content, const PagePlan& plan,
          const ManualSample& sample, const Crops& crops) {
    pdf.SetMetadata("Vellicor Honer User Manual", "Corvane Labs",
                    "The Vellicor Honer plug-ins and every Effect they offer");
    DrawCover(pdf, content, CoverFacts{request.version, LoadLogo()});
    pdf.NextPage();
    DrawContents(pdf, plan);
    ExpectPage(pdf, plan.firstUsagePage - 1, "the contents");
    pdf.NextPage();
    DrawUsage(pdf, content, sample);
    ExpectPage(pdf, plan.firstUsagePage + kUsagePages - 1, "the usage chapter");
    for (size_t p = 0; p < content.plugins.size(); ++p) {
        const PluginEntry& plugin = content.plugins[p];
        pdf.NextPage();
        ExpectPage(pdf, plan.pluginPages[p], plugin.name);
        DrawPluginOpening(pdf, plugin, plan.setPages[p]);
        for (size_t s = 0; s < plugin.sets.size(); ++s) {
            pdf.NextPage();
            ExpectPage(pdf, plan.setPages[p][s], plugin.sets[s].name);
            SetPictures pictures{&*crops.before, {}};
            for (const PdfPicture& after : crops.after[p][s]) {
                pictures.after.push_back(&after);
            }
            DrawSetPages(pdf, plugin, plugin.sets[s], pictures);
        }
    }
    ExpectPage(pdf, plan.pages, "the manual");
}

// A file beside the output that is removed unless it was renamed into place.
class TemporaryOutput {
public:
    explicit TemporaryOutput(const std::string& output) : output_(output), path_(output + ".part") {}
    ~TemporaryOutput() {
        if (!kept_) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    const std::string& Path() const { return path_; }
    void Keep() {
        std::error_code error;
        fs::rename(path_, output_, error);
        if (error) {
            throw ManualError("cannot write " + output_ + ": " + error.message());
        }
        kept_ = true;
    }

private:
    std::string output_;
    std::string path_;
    bool kept_ = false;
};

} // namespace

ManualSummary WriteManual(const ManualRequest& request) {
    const ManualContent content = ReadManualContent(request.modulePath);
    const PagePlan plan = PlanPages(content);
    const ManualSample sample = LoadManualSample();
    const Crops crops = MakeCrops(request, content, sample);

    TemporaryOutput output(request.outputPath);
    {
        PdfDocument pdf(output.Path(), kPageWidth, kPageHeight);
        Draw(pdf, request, content, plan, sample, crops);
        pdf.Finish();
    }
    output.Keep();
    return ManualSummary{plan.pages, content.plugins.size(), CountSets(content), CountEffects(content),
                         content.warnings};
}

} // namespace vhost::manual
