// The manual the build makes, read back with poppler's tools: it names every
// plug-in, Set and Effect the module offers, has the pages the catalogue
// implies, no page without text, contents whose page numbers lead to what
// they list, and a crop before and after every Effect.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "host/catalogue/ModuleSets.h"
#include "host/manual/PagePlan.h"
#include "tests/manual/Poppler.h"
#include "tests/support/EndToEnd.h"

namespace vlh::manualtest {
namespace {

const std::string kManual = VLH_BUILT_MANUAL;

class ManualPdfTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogue = new std::vector<vhost::ListedPlugin>(vhost::ListModuleSets(vhost::e2e::HonerPath()));
        pages = new std::vector<std::string>(PdfPages(kManual));
        layoutPages = new std::vector<std::string>(PdfPages(kManual, true));
    }
    static void TearDownTestSuite() {
        delete catalogue;
        delete pages;
        delete layoutPages;
    }

    // What the page (numbered from 1) says, whitespace collapsed.
    static std::string Page(int number) {
        return number >= 1 && size_t(number) <= pages->size() ? Collapsed((*pages)[size_t(number - 1)]) : "";
    }

    static std::vector<vhost::ListedPlugin>* catalogue;
    static std::vector<std::string>* pages;
    static std::vector<std::string>* layoutPages;
};

std::vector<vhost::ListedPlugin>* ManualPdfTest::catalogue = nullptr;
std::vector<std::string>* ManualPdfTest::pages = nullptr;
std::vector<std::string>* ManualPdfTest::layoutPages = nullptr;

// The pages the catalogue implies: the cover, the contents (a line for the
// usage chapter and each of its sections, plug-ins, Sets and Effects), the
// usage chapter, and for each plug-in an opening page and its Sets with two
// Effects to a page (an empty Set still gets its page).
int ImpliedPages(const std::vector<vhost::ListedPlugin>& catalogue) {
    size_t lines = 1 + vhost::manual::UsageSections().size();
    int body = 0;
    for (const vhost::ListedPlugin& plugin : catalogue) {
        lines += 1 + plugin.sets.size();
        body += 1;
        // The capture recipes are long: an Effect a page; the others two.
        const size_t perPage = plugin.name.rfind("Vellicor Capture Honer", 0) == 0 ? 1 : 2;
        for (const vhost::ListedSet& set : plugin.sets) {
            lines += set.effects.size();
            body += std::max<int>(1, int((set.effects.size() + perPage - 1) / perPage));
        }
    }
    const int contents =
        int((lines + vhost::manual::kContentsLinesPerPage - 1) / vhost::manual::kContentsLinesPerPage);
    return 1 + contents + vhost::manual::kUsagePages + body;
}

TEST_F(ManualPdfTest, HasThePagesTheCatalogueImpliesOnA4WithItsTitle) {
    const auto info = PdfInfo(kManual);
    ASSERT_EQ(4u, catalogue->size());
    EXPECT_EQ(std::to_string(ImpliedPages(*catalogue)), info.at("Pages"));
    EXPECT_EQ(size_t(ImpliedPages(*catalogue)), pages->size());
    EXPECT_NE(std::string::npos, info.at("Page size").find("595.276 x 841.89 pts (A4)"))
        << info.at("Page size");
    EXPECT_EQ("Vellicor Honer User Manual", info.at("Title"));
    EXPECT_EQ("Corvane Labs", info.at("Author"));
}

TEST_F(ManualPdfTest, NoPageIsWithoutText) {
    for (size_t i = 0; i < pages->size(); ++i) {
        // More than the page number and the running head.
        EXPECT_GT(Page(int(i + 1)).size(), 60u) << "page " << i + 1 << ": " << Page(int(i + 1));
    }
}

TEST_F(ManualPdfTest, NamesEveryPluginSetAndEffect) {
    std::string all;
    for (size_t i = 0; i < pages->size(); ++i) {
        all += Page(int(i + 1)) + " ";
    }
    size_t names = 0;
    for (const vhost::ListedPlugin& plugin : *catalogue) {
        EXPECT_NE(std::string::npos, all.find(plugin.name)) << plugin.name;
        EXPECT_NE(std::string::npos, all.find(plugin.name + "...")) << plugin.name << "'s menu entry";
        for (const vhost::ListedSet& set : plugin.sets) {
            EXPECT_NE(std::string::npos, all.find(set.name)) << set.name;
            for (const std::string& effect : set.effects) {
                EXPECT_NE(std::string::npos, all.find(effect))
                    << plugin.name << " / " << set.name << " / " << effect;
                ++names;
            }
        }
    }
    EXPECT_GE(names, 100u);
}

// Each line of the contents, "Title ..... 12" in the page's layout.
std::vector<std::pair<std::string, int>> ContentsLines(const std::vector<std::string>& layoutPages) {
    static const std::regex line(R"(^\s*(\S.*?)\s+(\d+)\s*$)");
    std::vector<std::pair<std::string, int>> lines;
    for (const std::string& page : layoutPages) {
        std::stringstream text(page);
        std::string row;
        bool contents = false;
        while (std::getline(text, row)) {
            if (!contents) {
                contents = Collapsed(row) == "Contents";
                continue;
            }
            std::smatch m;
            if (std::regex_match(row, m, line)) {
                lines.emplace_back(Collapsed(m[1].str()), std::stoi(m[2].str()));
            }
        }
    }
    return lines;
}

TEST_F(ManualPdfTest, TheContentsLeadToThePagesOfWhatTheyList) {
    const std::vector<std::pair<std::string, int>> lines = ContentsLines(*layoutPages);
    std::map<std::string, std::vector<int>> pagesOf;
    for (const auto& [title, page] : lines) {
        pagesOf[title].push_back(page);
    }
    size_t checked = 0;
    int previous = 0;
    for (const auto& [title, page] : lines) {
        EXPECT_GE(page, previous) << title << ": the contents go back";
        previous = page;
    }
    for (const vhost::ListedPlugin& plugin : *catalogue) {
        ASSERT_EQ(1u, pagesOf[plugin.name].size()) << plugin.name;
        EXPECT_NE(std::string::npos, Page(pagesOf[plugin.name][0]).find("Menu entry: " + plugin.name + "..."))
            << plugin.name;
        for (const vhost::ListedSet& set : plugin.sets) {
            ASSERT_FALSE(pagesOf[set.name].empty()) << set.name;
            for (const std::string& effect : set.effects) {
                // Capture and Capture Expert share Set and Effect names: one of
                // the pages listed must show the Effect in its plug-in's chapter.
                bool found = false;
                for (int page : pagesOf[effect]) {
                    const std::string text = Page(page);
                    found = found || (text.find(effect) != std::string::npos &&
                                      text.find(plugin.name + " \u00b7 " + set.name) == 0);
                }
                EXPECT_TRUE(found) << plugin.name << " / " << set.name << " / " << effect;
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 100u);
    ASSERT_FALSE(pagesOf["The Set and Effect dialog"].empty());
    EXPECT_NE(std::string::npos, Page(pagesOf["The Set and Effect dialog"][0]).find("Honer Effect"));
}

TEST_F(ManualPdfTest, EveryEffectIsShownBeforeAndAfterAtTwiceItsSize) {
    const std::vector<PdfImage> images = PdfImages(kManual);
    size_t effects = 0;
    for (const vhost::ListedPlugin& plugin : *catalogue) {
        for (const vhost::ListedSet& set : plugin.sets) {
            effects += set.effects.size();
        }
    }
    // The logo, then a before and an after for every Effect; the before is
    // one picture drawn again and again.
    ASSERT_EQ(1 + 2 * effects, images.size());
    EXPECT_EQ(1, images[0].page);
    std::map<int, int> drawn; // object -> times drawn
    for (size_t i = 1; i < images.size(); ++i) {
        ++drawn[images[i].object];
        EXPECT_EQ(images[1].width, images[i].width);
        EXPECT_EQ(images[1].height, images[i].height);
    }
    EXPECT_EQ(effects + 1, drawn.size());
    EXPECT_EQ(int(effects), drawn[images[1].object]) << "the before crop is not the same on every page";
}

TEST_F(ManualPdfTest, TheUsageChapterTellsHowToRunHelpAndScript) {
    std::string chapter;
    for (int page = 1;
         page <= int(pages->size()) && chapter.find("Reading the Effect pages") == std::string::npos;
         ++page) {
        if (Page(page).rfind("Using the plug-ins", 0) == 0) {
            chapter += Page(page) + " ";
        }
    }
    for (const char* said :
         {"Honer Set", "Honer Effect", "Help (Alt+H)", "Honer-Manual-123.pdf", "vlh_help", "'VlSt'", "'VlAc'",
          "**Help**", "**Index**", "empties the clipboard", "NOTE: The image must be at final output size!",
          "Current Size:", "3000 pixels x 2000 pixels @ 300.00 ppi", "10.00 in. x 6.67 in. @ 300.00 ppi.",
          "25.40 cm. x 16.93 cm. @ 118.11 ppcm.", "Web and Multimedia Honers", "HKEY_CURRENT_USER"}) {
        EXPECT_NE(std::string::npos, chapter.find(said)) << said;
    }
}

} // namespace
} // namespace vlh::manualtest
