// The recipe compiler: what it records for each event of the vocabulary, and
// every kind of bad source it must refuse with the file, the line and what is
// wrong.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/actionwriter/ActionWriter.h"
#include "tools/recipec/RecipeCompiler.h"

namespace vtools {
namespace {

// A good source; the bad ones below change one of its lines.
const std::vector<std::string> kGood = {
    "# three Effects",                          // 1
    "Set: Test Honers",                         // 2
    "Effect: One",                              // 3
    "    duplicate Nm=\"Honing\"",              // 4
    "    unsharpMask Amnt=100% Rds=1px Thsh=2", // 5
    "    set Md=Lmns",                          // 6
    "    mergeLayersNew",                       // 7
    "Effect: Two",                              // 8
    "    highPass Rds=3px",                     // 9
    "Effect: Three",                            // 10
    "    gaussianBlur Rds=2px",                 // 11
};

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// kGood with line n (1-based) replaced; an empty replacement removes it.
std::string GoodWith(size_t n, const std::string& replacement) {
    std::vector<std::string> lines = kGood;
    lines[n - 1] = replacement;
    return Join(lines);
}

std::string Listed(const std::vector<Diagnostic>& found) {
    std::string text;
    for (const Diagnostic& d : found) {
        text += d.Text() + "\n";
    }
    return text;
}

std::vector<Diagnostic> Findings(const std::string& text, const std::string& file = "test.recipe") {
    try {
        CompileRecipe(text, file);
    } catch (const RecipeError& error) {
        return error.Found().List();
    }
    return {};
}

TEST(RecipeCompiler, AGoodSourceCompilesAndEveryFindingNamesFileLineAndWhat) {
    EXPECT_TRUE(Findings(Join(kGood)).empty());

    struct Case {
        std::string text;
        int line;
        std::string what;  // a part of the message
        bool alone = true; // the only finding
    };
    const std::string longName(256, 'n');
    const std::string name255(255, 'n');
    const Case cases[] = {
        // events, keys, types, units, enumerations, ranges
        {GoodWith(5, "    unsharpMsk Amnt=100% Rds=1px Thsh=2"), 5, "unknown event unsharpMsk"},
        {GoodWith(5, "    UnsharpMask Amnt=100% Rds=1px Thsh=2"), 5, "unknown event UnsharpMask"},
        {GoodWith(5, "    unsharpMask Amount=100% Rds=1px Thsh=2"), 5, "unknown key Amount for unsharpMask"},
        {GoodWith(7, "    mergeLayersNew Md=Lmns"), 7, "unknown key Md for mergeLayersNew (it takes none)"},
        {GoodWith(5, "    unsharpMask Amnt=100 Rds=1px Thsh=2"), 5, "Amnt of unsharpMask needs a unit: %"},
        {GoodWith(5, "    unsharpMask Amnt=100% Rds=1px Thsh=2.5"), 5,
         "Thsh of unsharpMask takes an integer"},
        {GoodWith(5, "    unsharpMask Amnt=100% Rds=1px Thsh=2px"), 5,
         "Thsh of unsharpMask takes an integer"},
        {GoodWith(4, "    duplicate Nm=Honing"), 4, "Nm of duplicate takes a quoted text, not a code"},
        {GoodWith(6, "    set Md=\"Lmns\""), 6, "Md of set takes a code, not a quoted text"},
        {GoodWith(5, "    unsharpMask Amnt=100% Rds=1mm Thsh=2"), 5, "unknown unit \"mm\""},
        {GoodWith(5, "    unsharpMask Amnt=100px Rds=1px Thsh=2"), 5, "Amnt of unsharpMask is in %, not px"},
        {GoodWith(9, "    highPass Rds=3"), 9, "Rds of highPass needs a unit: px"},
        {GoodWith(6, "    set Md=Lumi"), 6, "unknown value Lumi for Md of set (BlnM)"},
        {GoodWith(6, "    set Md=lmns"), 6, "unknown value lmns for Md of set"},
        {GoodWith(9, "    select null=Back"), 9, "unknown value Back for null of select (Ordn)"},
        {GoodWith(5, "    unsharpMask Amnt=501% Rds=1px Thsh=2"), 5,
         "Amnt of unsharpMask is 501%, out of range 1 to 500"},
        {GoodWith(5, "    unsharpMask Amnt=0% Rds=1px Thsh=2"), 5, "out of range 1 to 500"},
        {GoodWith(5, "    unsharpMask Amnt=100% Rds=0.05px Thsh=2"), 5,
         "Rds of unsharpMask is 0.05px, out of range"},
        {GoodWith(5, "    unsharpMask Amnt=100% Rds=1px Thsh=256"), 5,
         "Thsh of unsharpMask is 256, out of range 0 to 255"},
        {GoodWith(5, "    unsharpMask Amnt=100% Rds=1px Thsh=-1"), 5, "out of range 0 to 255"},
        {GoodWith(6, "    set Opct=101%"), 6, "Opct of set is 101%, out of range 0 to 100"},
        {GoodWith(11, "    gaussianBlur Rds=251px"), 11,
         "Rds of gaussianBlur is 251px, out of range 0.1 to 250"},
        // what an event must and must not have
        {GoodWith(5, "    unsharpMask Amnt=100% Thsh=2"), 5, "unsharpMask needs Rds"},
        {GoodWith(5, "    unsharpMask Amnt=100% Amnt=90% Rds=1px Thsh=2"), 5, "key Amnt given twice"},
        {GoodWith(6, "    set"), 6, "set needs at least one of Md, Opct, Nm"},
        {GoodWith(9, "    select null=\"Nowhere\""), 9,
         "select picks the layer \"Nowhere\", which no earlier event"},
        // names
        {GoodWith(2, "Set: " + longName), 2, "Set name: 256 bytes long; a name has at most 255"},
        {GoodWith(3, "Effect: " + longName), 3, "Effect name: 256 bytes long"},
        {GoodWith(4, "    duplicate Nm=\"" + longName + "\""), 4, "layer name in Nm: 256 bytes long"},
        {GoodWith(2, "Set: Caf\xC3\xA9 Honers"), 2, "Set name: holds the byte 0xc3"},
        {GoodWith(2, "Set: Sharp.atn"), 2, "Set name ends in .atn, which the module removes"},
        {GoodWith(2, "Set:"), 2, "Set name: empty"},
        {GoodWith(10, "Effect: One"), 10, "the Effect \"One\" is already in this Set (line 3)"},
        {GoodWith(11, "    highPass Rds=3px"), 10,
         "the Effect \"Three\" repeats the recipe of \"Two\" (line 8)"},
        // structure
        {GoodWith(11, ""), 10, "the Effect \"Three\" has no events"},
        {GoodWith(10, "    invert"), 2, "the Set \"Test Honers\" has 2 Effects; a Set needs at least 3"},
        {GoodWith(2, "# no Set line"), 3, "an Effect: line before the Set: line", false},
        {GoodWith(1, "    invert"), 1, "an event outside any Effect"},
        {GoodWith(7, "Set: Another"), 7, "a second Set: line; the Set is already named on line 2"},
        // form
        {GoodWith(4, "    duplicate Nm=\"Honing"), 4, "the text of Nm has no closing quote"},
        {GoodWith(4, "    duplicate Nm=\"Hon\\ing\""), 4, "only \\\" and \\\\ may follow a backslash"},
        {GoodWith(6, "    set Md"), 6, "expected key=value at \"Md\""},
        {GoodWith(6, "    set Md="), 6, "no value after Md="},
        {GoodWith(5, "    unsharpMask Amnt=1.0.0% Rds=1px Thsh=2"), 5, "cannot read the number \"1.0.0%\""},
        {GoodWith(6, "    set Md=Lmns,"), 6, "unknown value Lmns, for Md"},
        {GoodWith(6, "    set =Lmns"), 6, "a value without a key"},
    };
    for (const Case& c : cases) {
        const std::vector<Diagnostic> found = Findings(c.text, "capture/test.recipe");
        ASSERT_FALSE(found.empty()) << "no finding for: " << c.what;
        if (c.alone) {
            EXPECT_EQ(1u, found.size()) << c.what << "\n" << Listed(found);
        }
        EXPECT_EQ("capture/test.recipe", found[0].file) << c.what;
        EXPECT_EQ(c.line, found[0].line) << found[0].Text();
        EXPECT_NE(std::string::npos, found[0].what.find(c.what)) << found[0].Text() << "\nwanted: " << c.what;
    }
    // A name of exactly 255 bytes fits.
    EXPECT_TRUE(Findings(GoodWith(2, "Set: " + name255)).empty());
}

TEST(RecipeCompiler, ASourceWithoutSetLineSaysSoForTheWholeFile) {
    const std::vector<Diagnostic> found = Findings("# nothing here\n", "empty.recipe");
    ASSERT_GE(found.size(), 1u);
    EXPECT_EQ("empty.recipe: no Set: line names the Set", found[0].Text());
}

TEST(RecipeCompiler, EveryFaultOfAFileIsReportedInOnePass) {
    std::vector<std::string> lines = kGood;
    lines[4] = "    unsharpMsk Amnt=100%";
    lines[5] = "    set Md=Lumi";
    lines[8] = "    highPass Rds=3cm";
    const std::vector<Diagnostic> found = Findings(Join(lines));
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(5, found[0].line);
    EXPECT_EQ(6, found[1].line);
    EXPECT_EQ(9, found[2].line);
}

// The expected recording of each event, built field by field with the writer.
DescriptorModel Body(std::vector<ItemModel> items) {
    return DescriptorModel::Of(IdField::Code("null"), items);
}
ValueModel Target() {
    return ValueModel::Reference(
        {FormModel::Enum(IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt"))});
}
EventModel Event(const char* id, const char* display, std::optional<DescriptorModel> body = {}) {
    EventModel event = EventModel::Named(id, std::move(body));
    event.displayName = ByteText::Of(display);
    return event;
}

TEST(RecipeCompiler, EventsAreRecordedAsTheHostRecordsThem) {
    const std::string source = "Set: Recorded\n"
                               "Effect: All\n"
                               "    duplicate Nm=\"Copy \\\"A\\\"\"\n"
                               "    unsharpMask Thsh=3 Rds=0.8px Amnt=120%\n" // any order in the source
                               "    set Opct=55% Md=Drkn Nm=\"Dark\"\n"
                               "    select null=Bckw\n"
                               "    select null=\"Dark\"\n"
                               "    highPass Rds=2.5px\n"
                               "    gaussianBlur Rds=10px\n"
                               "    desaturate\n"
                               "    invert\n"
                               "    mergeLayersNew\n"
                               "    flattenImage\n"
                               "    purge null=Clpb\n"
                               "Effect: Second\n"
                               "    invert\n"
                               "Effect: Third\n"
                               "    desaturate\n";
    const CompiledSet compiled = CompileRecipe(source, "recorded.recipe");

    const IdField lyr = IdField::Code("Lyr ");
    const SetModel expected = SetModel::Named(
        "Recorded",
        {EffectModel::Named(
             "All",
             {Event("duplicate", "Duplicate",
                    Body({{IdField::Code("null"), Target()},
                          {IdField::Code("Nm  "), ValueModel::Text(UnicodeText::Latin1("Copy \"A\""))}})),
              Event("unsharpMask", "Unsharp Mask",
                    Body({{IdField::Code("Amnt"), ValueModel::UnitDouble("#Prc", 120)},
                          {IdField::Code("Rds "), ValueModel::UnitDouble("#Pxl", 0.8)},
                          {IdField::Code("Thsh"), ValueModel::Integer(3)}})),
              Event("set", "Set",
                    Body({{IdField::Code("null"), Target()},
                          {IdField::Code("T   "),
                           ValueModel::Object(DescriptorModel::Of(
                               lyr,
                               {{IdField::Code("Md  "),
                                 ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Drkn"))},
                                {IdField::Code("Opct"), ValueModel::UnitDouble("#Prc", 55)},
                                {IdField::Code("Nm  "), ValueModel::Text(UnicodeText::Latin1("Dark"))}}))}})),
              Event(
                  "select", "Select",
                  Body({{IdField::Code("null"), ValueModel::Reference({FormModel::Enum(
                                                    lyr, IdField::Code("Ordn"), IdField::Code("Bckw"))})}})),
              Event("select", "Select",
                    Body({{IdField::Code("null"),
                           ValueModel::Reference({FormModel::Name(lyr, UnicodeText::Latin1("Dark"))})}})),
              Event("highPass", "High Pass",
                    Body({{IdField::Code("Rds "), ValueModel::UnitDouble("#Pxl", 2.5)}})),
              Event("gaussianBlur", "Gaussian Blur",
                    Body({{IdField::Code("Rds "), ValueModel::UnitDouble("#Pxl", 10)}})),
              Event("desaturate", "Desaturate"), Event("invert", "Invert"),
              Event("mergeLayersNew", "Merge Layers"), Event("flattenImage", "Flatten Image"),
              Event("purge", "Purge",
                    Body({{IdField::Code("null"),
                           ValueModel::Enum(IdField::Code("PrgI"), IdField::Code("Clpb"))}}))}),
         EffectModel::Named("Second", {Event("invert", "Invert")}),
         EffectModel::Named("Third", {Event("desaturate", "Desaturate")})});

    EXPECT_EQ(SerialiseSet(expected), SerialiseSet(compiled.model));
    EXPECT_EQ(WriteStoredSet(expected), compiled.stored);
    EXPECT_EQ("Recorded", compiled.name);
    ASSERT_EQ(3u, compiled.effects.size());
    EXPECT_EQ(2, compiled.effects[0].line);
}

TEST(RecipeCompiler, OutputIsTheSameForTheSameSource) {
    const std::string text = Join(kGood);
    EXPECT_EQ(CompileRecipe(text, "a.recipe").stored, CompileRecipe(text, "b.recipe").stored);
    // Comments, blank lines, indentation and parameter order change nothing.
    std::vector<std::string> reworded = kGood;
    reworded[0] = "# another comment";
    reworded[4] = "\tunsharpMask   Thsh=2 Rds=1px Amnt=100%   # reordered";
    reworded.insert(reworded.begin() + 7, "");
    EXPECT_EQ(CompileRecipe(text, "a.recipe").stored, CompileRecipe(Join(reworded), "a.recipe").stored);
    // A changed parameter changes the bytes.
    EXPECT_NE(CompileRecipe(text, "a.recipe").stored,
              CompileRecipe(GoodWith(9, "    highPass Rds=4px"), "a").stored);
}

// The command itself: a bad source makes it say where and exit non-zero; a
// good one compiles to the same bytes as the library, twice over.
std::string RunRecipec(const std::string& arguments, int& status) {
    const std::string command = std::string(VLH_RECIPEC_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    status = pipe != nullptr ? pclose(pipe) : -1;
    return output;
}

std::string Scratch(const std::string& name) {
    return ::testing::TempDir() + "recipec_" + name;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(RecipecCommand, ReportsBadSourcesAndExitsNonZero) {
    const std::string bad = Scratch("bad.recipe");
    WriteText(bad, GoodWith(6, "    set Md=Lumi"));
    int status = 0;
    const std::string output = RunRecipec("check " + bad, status);
    EXPECT_NE(0, status);
    EXPECT_NE(std::string::npos, output.find(bad + ":6: unknown value Lumi")) << output;

    const std::string out = Scratch("bad.stored");
    std::remove(out.c_str());
    RunRecipec("compile " + bad + " -o " + out, status);
    EXPECT_NE(0, status);
    EXPECT_FALSE(std::ifstream(out).good()) << "a failed compile leaves no output";

    RunRecipec("compile", status);
    EXPECT_NE(0, status);
}

TEST(RecipecCommand, CompilesTheSameBytesTwice) {
    const std::string good = Scratch("good.recipe");
    WriteText(good, Join(kGood));
    int status = 1;
    RunRecipec("compile " + good + " -o " + Scratch("first.stored"), status);
    ASSERT_EQ(0, status);
    RunRecipec("compile " + good + " -o " + Scratch("second.stored"), status);
    ASSERT_EQ(0, status);
    const Bytes first = ReadBytes(Scratch("first.stored"));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, ReadBytes(Scratch("second.stored")));
    EXPECT_EQ(CompileRecipe(Join(kGood), good).stored, first);

    RunRecipec("compile " + good + " --raw -o " + Scratch("raw.bin"), status);
    ASSERT_EQ(0, status);
    EXPECT_EQ(SerialiseSet(CompileRecipe(Join(kGood), good).model), ReadBytes(Scratch("raw.bin")));
}

} // namespace
} // namespace vtools
