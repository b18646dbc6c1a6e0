// The page plan: where each part of the manual falls, so that the contents
// can print page numbers before the pages are drawn.
#include <gtest/gtest.h>

#include "host/manual/PagePlan.h"

namespace vhost::manual {
namespace {

SetEntry SetWith(const std::string& name, size_t effects) {
    SetEntry set{name, "", {}};
    for (size_t i = 0; i < effects; ++i) {
        set.effects.push_back({name + " Effect " + std::to_string(i + 1), {}});
    }
    return set;
}

TEST(PagePlan, SetsStartOnTheirOwnPagesWithTwoEffectsToAPage) {
    ManualContent content;
    content.plugins.push_back(
        {"First", "First...", {}, {SetWith("Odd", 3), SetWith("Empty", 0), SetWith("Five", 5)}});
    content.plugins.push_back({"Second", "Second...", {}, {SetWith("Pair", 2)}});
    const PagePlan plan = PlanPages(content);

    // 1 + usage sections + 2 plug-ins + 4 Sets + 10 Effects lines fit one contents page.
    ASSERT_LE(1 + UsageSections().size() + 2 + 4 + 10, size_t(kContentsLinesPerPage));
    EXPECT_EQ(1, plan.contentsPages);
    EXPECT_EQ(2, plan.firstContentsPage);
    EXPECT_EQ(3, plan.firstUsagePage);
    const int first = 3 + kUsagePages; // the first plug-in's opening page
    EXPECT_EQ((std::vector<int>{first, first + 7}), plan.pluginPages);
    EXPECT_EQ((std::vector<std::vector<int>>{{first + 1, first + 3, first + 4}, {first + 8}}), plan.setPages);
    EXPECT_EQ((std::vector<int>{first + 1, first + 1, first + 2}), plan.effectPages[0][0]);
    EXPECT_TRUE(plan.effectPages[0][1].empty());
    EXPECT_EQ((std::vector<int>{first + 4, first + 4, first + 5, first + 5, first + 6}),
              plan.effectPages[0][2]);
    EXPECT_EQ((std::vector<int>{first + 8, first + 8}), plan.effectPages[1][0]);
    EXPECT_EQ(first + 8, plan.pages);
}

TEST(PagePlan, TheContentsListEverythingInOrderWithItsPage) {
    ManualContent content;
    content.plugins.push_back({"Only", "Only...", {}, {SetWith("Set A", 3)}});
    const PagePlan plan = PlanPages(content);
    ASSERT_EQ(1 + UsageSections().size() + 1 + 1 + 3, plan.contents.size());
    EXPECT_EQ("Using the plug-ins", plan.contents[0].title);
    EXPECT_EQ(0, plan.contents[0].level);
    for (size_t i = 0; i < UsageSections().size(); ++i) {
        EXPECT_EQ(UsageSections()[i].title, plan.contents[1 + i].title);
        EXPECT_EQ(1, plan.contents[1 + i].level);
        EXPECT_EQ(plan.firstUsagePage + UsageSections()[i].usagePage, plan.contents[1 + i].page);
    }
    const size_t p = 1 + UsageSections().size();
    EXPECT_EQ("Only", plan.contents[p].title);
    EXPECT_EQ(plan.pluginPages[0], plan.contents[p].page);
    EXPECT_EQ("Set A", plan.contents[p + 1].title);
    EXPECT_EQ(1, plan.contents[p + 1].level);
    for (size_t e = 0; e < 3; ++e) {
        EXPECT_EQ(2, plan.contents[p + 2 + e].level);
        EXPECT_EQ(plan.effectPages[0][0][e], plan.contents[p + 2 + e].page);
    }
}

TEST(PagePlan, ALongCatalogueTakesMoreContentsPagesAndPushesEverythingOn) {
    ManualContent content;
    content.plugins.push_back({"Big", "Big...", {}, {SetWith("Many", 200)}});
    const PagePlan plan = PlanPages(content);
    const size_t lines = 1 + UsageSections().size() + 1 + 1 + 200;
    EXPECT_EQ(int((lines + kContentsLinesPerPage - 1) / kContentsLinesPerPage), plan.contentsPages);
    EXPECT_EQ(2 + plan.contentsPages, plan.firstUsagePage);
    EXPECT_EQ(plan.firstUsagePage + kUsagePages + 1 + 100 - 1, plan.pages);
    EXPECT_EQ(plan.pages, plan.effectPages[0][0].back());
}

TEST(PagePlan, EightBitNamesAreListedAsTheirCharacters) {
    ManualContent content;
    content.plugins.push_back({"Plug \xe9", "Plug \xe9...", {}, {SetWith("S\xfc", 1)}});
    const PagePlan plan = PlanPages(content);
    const size_t p = 1 + UsageSections().size();
    EXPECT_EQ("Plug \u00e9", plan.contents[p].title);
    EXPECT_EQ("S\u00fc", plan.contents[p + 1].title);
}

} // namespace
} // namespace vhost::manual
