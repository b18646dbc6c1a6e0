// `vellicor sheet` as a user runs it: the real module in the real host plays
// every Effect of a plug-in on an image; the sheet holds the crop before and
// after each, where the command says, under their labels.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "host/catalogue/ModuleSets.h"
#include "tests/cli/CliSupport.h"
#include "tests/support/EndToEnd.h"

namespace vhost::cli::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOutput = "Vellicor Output Honer";

struct Cell {
    std::string set;
    std::string effect;
    int beforeLeft, beforeTop, afterLeft, afterTop;
};

// The cells the command lists: "  ok      SET / EFFECT  before X,Y  after X,Y".
std::vector<Cell> CellsOf(const std::string& out) {
    static const std::regex line(R"(  ok      (.*) / (.*)  before (\d+),(\d+)  after (\d+),(\d+))");
    std::vector<Cell> cells;
    for (const std::string& l : Lines(out)) {
        std::smatch m;
        if (std::regex_match(l, m, line)) {
            cells.push_back({m[1], m[2], std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])});
        }
    }
    return cells;
}

std::vector<std::pair<std::string, std::string>> CatalogueEffects(const std::string& plugin) {
    std::vector<std::pair<std::string, std::string>> effects;
    for (const ListedPlugin& p : ListModuleSets(e2e::HonerPath())) {
        if (p.name == plugin) {
            for (const ListedSet& set : p.sets) {
                for (const std::string& effect : set.effects) {
                    effects.emplace_back(set.name, effect);
                }
            }
        }
    }
    return effects;
}

// The largest difference between two images of one size, any band.
double LargestDifference(const vips::VImage& a, const vips::VImage& b) {
    return (a.cast(VIPS_FORMAT_INT) - b.cast(VIPS_FORMAT_INT)).abs().max();
}

class Sheet : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(e2e::HonerPath().empty());
        image = folder.File("chart.tif");
        TestPicture(16, false, 480, 360).write_to_file(image.c_str());
    }

    Finished MakeSheet(std::vector<std::string> more) {
        std::vector<std::string> args = {"sheet", "--module", e2e::HonerPath(),
                                         image,   "-o",       folder.File("sheet.png")};
        args.insert(args.end(), more.begin(), more.end());
        return Vellicor(args, folder);
    }

    // The image's central 320 x 240 crop after `vellicor run` with one
    // Effect, in 8 bits as the sheet shows it.
    vips::VImage RunAndCrop(const std::string& set, const std::string& effect) {
        // A name of its own: libvips keeps files it opened, by name.
        const std::string out = folder.File("run-" + std::to_string(++runs) + ".tif");
        const Finished f = Vellicor({"run", "--module", e2e::HonerPath(), image, "-o", out, "--plugin",
                                     kOutput, "--set", set, "--effect", effect},
                                    folder);
        EXPECT_EQ(0, f.status) << f.err;
        return EightBits(
            vips::VImage::new_from_file(out.c_str()).extract_area(80, 60, 320, 240).copy_memory());
    }

    static vips::VImage EightBits(const vips::VImage& sixteen) {
        return sixteen.linear(1.0 / 65535.0, 0.0).linear(255.0, 0.5).cast(VIPS_FORMAT_UCHAR);
    }

    e2e::PrivateSettingsFolder settings;
    Folder folder;
    std::string image;
    int runs = 0;
};

TEST_F(Sheet, ShowsEveryEffectOfThePlugInBeforeAndAfterWhereItSays) {
    const Finished f = MakeSheet({"--plugin", kOutput});
    ASSERT_EQ(0, f.status) << f.out << f.err;
    EXPECT_EQ("", f.err);
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << f.out;
    const std::vector<Cell> cells = CellsOf(f.out);
    const auto effects = CatalogueEffects(kOutput);
    ASSERT_EQ(effects.size(), cells.size()) << f.out;
    for (size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(effects[i].first, cells[i].set);
        EXPECT_EQ(effects[i].second, cells[i].effect);
    }

    const vips::VImage sheet = vips::VImage::new_from_file(folder.File("sheet.png").c_str()).copy_memory();
    EXPECT_TRUE(Contains(f.out, "sheet      " + folder.File("sheet.png") + ", " +
                                    std::to_string(sheet.width()) + " x " + std::to_string(sheet.height()) +
                                    " pixels\n"));
    EXPECT_EQ(3, sheet.bands());
    const vips::VImage before =
        EightBits(vips::VImage::new_from_file(image.c_str()).extract_area(80, 60, 320, 240).copy_memory());
    for (const Cell& cell : cells) {
        SCOPED_TRACE(cell.effect);
        ASSERT_LE(cell.afterLeft + 320, sheet.width());
        ASSERT_LE(cell.afterTop + 240, sheet.height());
        const vips::VImage shownBefore = sheet.extract_area(cell.beforeLeft, cell.beforeTop, 320, 240);
        const vips::VImage shownAfter = sheet.extract_area(cell.afterLeft, cell.afterTop, 320, 240);
        EXPECT_LE(LargestDifference(before, shownBefore), 1.0);
        EXPECT_GT(LargestDifference(before, shownAfter), 8.0) << "the Effect shows no change";
        // The label: ink in the band just above the crop, white in the gap
        // between this crop and the one to its left.
        EXPECT_LT(sheet.extract_area(cell.afterLeft, cell.afterTop - 16, 120, 14).min(), 100.0);
        EXPECT_EQ(255.0, sheet.extract_area(cell.afterLeft - 10, cell.afterTop, 8, 240).min());
    }
    // The crops after are what `vellicor run` writes, within the rounding of
    // the 16-bit result.
    for (const Cell* cell : {&cells.front(), &cells.back()}) {
        SCOPED_TRACE(cell->effect);
        EXPECT_LE(LargestDifference(RunAndCrop(cell->set, cell->effect),
                                    sheet.extract_area(cell->afterLeft, cell->afterTop, 320, 240)),
                  1.0);
    }
}

TEST_F(Sheet, OneEffectMakesABeforeAndAfterPicture) {
    const Finished f = MakeSheet({"--plugin", kOutput, "--set", "Web and Multimedia Honers", "--effect",
                                  "Video and Slideshows", "--crop", "10,20,200,100"});
    ASSERT_EQ(0, f.status) << f.out << f.err;
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << f.out;
    const std::vector<Cell> cells = CellsOf(f.out);
    ASSERT_EQ(1u, cells.size());
    const vips::VImage sheet = vips::VImage::new_from_file(folder.File("sheet.png").c_str());
    EXPECT_EQ(2 * 24 + 2 * 200 + 12, sheet.width());
    EXPECT_EQ(cells[0].beforeTop, cells[0].afterTop);
    const vips::VImage before =
        EightBits(vips::VImage::new_from_file(image.c_str()).extract_area(10, 20, 200, 100).copy_memory());
    EXPECT_LE(
        LargestDifference(before, sheet.extract_area(cells[0].beforeLeft, cells[0].beforeTop, 200, 100)),
        1.0);
}

TEST_F(Sheet, LeavesTheUsersRememberedChoiceAlone) {
    const Finished f = MakeSheet({"--plugin", kOutput, "--set", "Halftone Output Honers"});
    ASSERT_EQ(0, f.status) << f.err;
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << f.out;
    EXPECT_TRUE(fs::is_empty(settings.Path())) << "the sheet's runs remembered a choice for the user";
}

TEST_F(Sheet, SaysWhatIsWrongWithARequest) {
    const std::string grey = folder.File("grey.png");
    TestPicture(8, false).colourspace(VIPS_INTERPRETATION_B_W).write_to_file(grey.c_str());
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {{"--plugin", kOutput, "--set", "No Such Set"}, 2, "has no Set \"No Such Set\""},
        {{"--plugin", kOutput, "--set", "Halftone Output Honers", "--effect", "None"},
         2,
         "has no Effect \"None\""},
        {{"--plugin", "Vellicor Nothing Honer"}, 2, "has no plug-in"},
        {{"--plugin", kOutput, "--crop", "400,300,100,100"}, 2, "inside the image's 480 x 360 pixels"},
        {{"--plugin", kOutput, "--columns", "0"}, 2, "--columns wants"},
    };
    for (const Case& c : cases) {
        const Finished f = MakeSheet(c.args);
        EXPECT_EQ(c.status, f.status);
        EXPECT_TRUE(Contains(f.err, c.says)) << f.err;
    }
    const Finished refused = Vellicor(
        {"sheet", "--module", e2e::HonerPath(), "--plugin", kOutput, grey, "-o", folder.File("s.png")},
        folder);
    EXPECT_EQ(1, refused.status);
    EXPECT_TRUE(Contains(refused.err, "Grayscale mode")) << refused.err;
    EXPECT_FALSE(fs::exists(folder.File("sheet.png")));
    EXPECT_FALSE(fs::exists(folder.File("s.png")));
}

} // namespace
} // namespace vhost::cli::test
