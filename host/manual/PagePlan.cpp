#include "host/manual/PagePlan.h"

#include <algorithm>

#include "host/manual/Pdf.h"

namespace vhost::manual {

const std::vector<UsageSectionPlace>& UsageSections() {
    static const std::vector<UsageSectionPlace> sections = {
        {"The plug-ins", 0},
        {"Running an Effect", 0},
        {"The Set and Effect dialog", 1},
        {"Help and Info", 1},
        {"Running from an action or a script", 2},
        {"The remembered choice", 2},
        {"The Output plug-in's size note", 3},
        {"Reading the Effect pages", 3},
    };
    return sections;
}

bool IsLongRecipe(const EffectWords& words) {
    return words.steps.size() > kMostStepLines;
}

int EffectsPerPage(const SetEntry& set) {
    const bool anyLong = std::any_of(set.effects.begin(), set.effects.end(),
                                     [](const EffectEntry& e) { return IsLongRecipe(e.words); });
    return anyLong ? 1 : kEffectsPerPage;
}

int PagesOfSet(size_t effects, int effectsPerPage) {
    const auto perPage = size_t(effectsPerPage);
    const int pages = int((effects + perPage - 1) / perPage);
    return pages < 1 ? 1 : pages;
}

PagePlan PlanPages(const ManualContent& content) {
    PagePlan plan;
    const size_t lines =
        1 + UsageSections().size() + content.plugins.size() + CountSets(content) + CountEffects(content);
    plan.contentsPages = int((lines + kContentsLinesPerPage - 1) / kContentsLinesPerPage);
    plan.firstUsagePage = plan.firstContentsPage + plan.contentsPages;

    plan.contents.push_back({0, "Using the plug-ins", plan.firstUsagePage});
    for (const UsageSectionPlace& section : UsageSections()) {
        plan.contents.push_back({1, section.title, plan.firstUsagePage + section.usagePage});
    }
    int page = plan.firstUsagePage + kUsagePages;
    for (const PluginEntry& plugin : content.plugins) {
        plan.pluginPages.push_back(page);
        plan.contents.push_back({0, Utf8FromEightBit(plugin.name), page});
        ++page;
        plan.setPages.emplace_back();
        plan.effectPages.emplace_back();
        for (const SetEntry& set : plugin.sets) {
            plan.setPages.back().push_back(page);
            plan.contents.push_back({1, Utf8FromEightBit(set.name), page});
            const int perPage = EffectsPerPage(set);
            std::vector<int> effects;
            for (size_t e = 0; e < set.effects.size(); ++e) {
                effects.push_back(page + int(e / size_t(perPage)));
                plan.contents.push_back({2, Utf8FromEightBit(set.effects[e].name), effects.back()});
            }
            plan.effectPages.back().push_back(std::move(effects));
            page += PagesOfSet(set.effects.size(), perPage);
        }
    }
    plan.pages = page - 1;
    return plan;
}

} // namespace vhost::manual
