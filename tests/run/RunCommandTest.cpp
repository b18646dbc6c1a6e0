// `vellicor run` as a user runs it: the built command, the built module, a
// private settings folder. What it prints, what it says when something is
// wrong, and its exit status; every run that reaches the module must end with
// the host's accounting clean.
#include "host/catalogue/ModuleSets.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/ProgramRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vhost::e2e {
namespace {

constexpr const char* kOutput = "Vellicor Output Honer";
constexpr const char* kInkjet = "Inkjet Output Honers";
constexpr const char* kGlossy300 = "Glossy and Lustre Paper, 300 ppi";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class RunCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(settingsFolder.Path().empty());
        ASSERT_FALSE(HonerPath().empty());
    }

    // Runs `vellicor run args...` with the built module; its output goes
    // through files in the settings folder.
    Finished Run(std::vector<std::string> args, bool withModule = true) {
        if (withModule) {
            args.insert(args.begin(), {"--module", HonerPath()});
        }
        args.insert(args.begin(), {VLH_VELLICOR_PATH, "run"});
        return RunProgram(std::move(args), settingsFolder.Path());
    }

    // The request with the Set and Effect given.
    Finished RunEffect(const std::string& plugin, const std::string& set, const std::string& effect,
                       std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"--plugin", plugin, "--set", set, "--effect", effect};
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    }

    static ListedPlugin OutputSets() {
        for (ListedPlugin& plugin : ListModuleSets(HonerPath())) {
            if (plugin.name == kOutput) {
                return plugin;
            }
        }
        ADD_FAILURE() << "the module lists no Sets for " << kOutput;
        return {};
    }

    // The names after a heading line of the message, one per indented line.
    static std::vector<std::string> ListedAfter(const std::string& text, const std::string& heading) {
        const std::vector<std::string> lines = Lines(text);
        auto at = std::find(lines.begin(), lines.end(), heading);
        std::vector<std::string> names;
        for (auto it = at == lines.end() ? at : at + 1; it != lines.end() && it->rfind("  ", 0) == 0; ++it) {
            names.push_back(it->substr(2));
        }
        return names;
    }

    // The events the report lists, by name ("purge", "duplicate", ...).
    static std::vector<std::string> PlayedEvents(const std::string& out) {
        std::vector<std::string> events;
        for (const std::string& line : Lines(out)) {
            if (line.rfind("  play ", 0) == 0) {
                events.push_back(line.substr(7, line.find(' ', 7) - 7));
            }
        }
        return events;
    }

    PrivateSettingsFolder settingsFolder;
};

TEST_F(RunCommand, PlaysTheNamedEffectAsOneHistoryStateAndReportsIt) {
    const Finished f = RunEffect(kOutput, kInkjet, kGlossy300);
    ASSERT_EQ(0, f.status) << f.out << f.err;
    EXPECT_EQ("", f.err);
    const std::vector<std::string> lines = Lines(f.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("plug-in    Vellicor Output Honer... (" + HonerPath() + ")", lines[0]);
    EXPECT_TRUE(
        Contains(f.out, "\ndocument   RGB Color, 3000 x 2000 pixels at 300 ppi, sRGB IEC61966-2.1\n"));
    EXPECT_TRUE(Contains(f.out, "\nresult     0 (ok)\n"));
    EXPECT_TRUE(Contains(f.out, "\nhistory    \"Glossy and Lustre Paper, 300 ppi\"\nevents "));
    EXPECT_EQ((std::vector<std::string>{"purge", "duplicate", "unsharpMask", "set", "mergeLayersNew"}),
              PlayedEvents(f.out));
    EXPECT_TRUE(Contains(f.out, "\n  history \"Glossy and Lustre Paper, 300 ppi\" on document (result 0)\n"));
    EXPECT_TRUE(Contains(f.out, "\nreturned   {'VlSt': \"Inkjet Output Honers\", 'VlAc': \"Glossy and Lustre "
                                "Paper, 300 ppi\"}, recordInfo 2\n"));
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n"));
}

TEST_F(RunCommand, TheMenuNameWorksAsWellAsThePluginsOwnName) {
    const Finished f = RunEffect("Vellicor Output Honer...", kInkjet, kGlossy300);
    EXPECT_EQ(0, f.status) << f.err;
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n"));
}

TEST_F(RunCommand, WithoutSetAndEffectThePluginPlaysWhatItRemembers) {
    ASSERT_EQ(0, RunEffect(kOutput, kInkjet, "Matte Paper, 360 ppi").status);
    const Finished f = Run({"--plugin", kOutput});
    ASSERT_EQ(0, f.status) << f.err;
    EXPECT_TRUE(Contains(f.out, "\nasked      what the plug-in remembers (no parameters)\n"));
    EXPECT_TRUE(Contains(f.out, "\nhistory    \"Matte Paper, 360 ppi\"\n"));
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n"));
}

TEST_F(RunCommand, AFirstRunWithoutSetAndEffectSaysSoAndListsTheSets) {
    const Finished f = Run({"--plugin", kOutput});
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(Contains(f.out, "\nresult     'Parm' (bad parameter)\n"));
    EXPECT_TRUE(Contains(f.out, "\nhistory    none\n"));
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n"));
    EXPECT_TRUE(Contains(f.err,
                         "vellicor run: Vellicor Output Honer remembers no Set and Effect that it offers; "
                         "name them with --set and --effect.\n"))
        << f.err;
    std::vector<std::string> sets;
    for (const ListedSet& set : OutputSets().sets) {
        sets.push_back(set.name);
    }
    EXPECT_EQ(sets, ListedAfter(f.err, "Its Sets (vellicor list shows their Effects):"));
}

TEST_F(RunCommand, AnUnknownSetIsNamedAndTheValidOnesListed) {
    const Finished f = RunEffect(kOutput, "Inkjet Honers", kGlossy300);
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(Contains(f.err, "vellicor run: Vellicor Output Honer has no Set \"Inkjet Honers\".\n"))
        << f.err;
    std::vector<std::string> sets;
    for (const ListedSet& set : OutputSets().sets) {
        sets.push_back(set.name);
    }
    ASSERT_EQ(4u, sets.size());
    EXPECT_EQ(sets, ListedAfter(f.err, "Its Sets:"));
    EXPECT_TRUE(Contains(f.out, "\nevents     0 played\n"));
    EXPECT_TRUE(Contains(f.out, "\naccounting clean\n"));
}

TEST_F(RunCommand, AnEffectOfAnotherSetIsNamedWithTheEffectsOfTheSetAsked) {
    const std::string webEffect = "Small Web Images, up to 800 pixels";
    const Finished f = RunEffect(kOutput, kInkjet, webEffect);
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(
        Contains(f.err, "vellicor run: the Set \"Inkjet Output Honers\" of Vellicor Output Honer has no "
                        "Effect \"" +
                            webEffect + "\".\n"))
        << f.err;
    const ListedPlugin output = OutputSets();
    auto inkjet = std::find_if(output.sets.begin(), output.sets.end(),
                               [](const ListedSet& set) { return set.name == kInkjet; });
    ASSERT_NE(inkjet, output.sets.end());
    EXPECT_EQ(inkjet->effects, ListedAfter(f.err, "Its Effects:"));
}

TEST_F(RunCommand, AnUnknownPluginIsRefusedWithTheModulesPlugins) {
    const Finished f = RunEffect("Vellicor Output", kInkjet, kGlossy300);
    EXPECT_EQ(1, f.status);
    EXPECT_EQ("", f.out);
    EXPECT_TRUE(Contains(f.err,
                         "vellicor run: the module has no plug-in \"Vellicor Output\"; it has:\n"
                         "  Vellicor Capture Honer\n  Vellicor Creative Honer\n  Vellicor Output Honer\n"
                         "  Vellicor Capture Honer Expert\n"))
        << f.err;
}

// The module's own failures: the code in words and what it means.
TEST_F(RunCommand, TheModulesErrorsEndTheCommandWithTheirMeaning) {
    struct Case {
        const char* what;
        std::vector<std::string> options;
        std::string result;
        std::string message;
    };
    const Case cases[] = {
        {"host named Elements",
         {"--host-name", "Photo Elements"},
         "-30900 (host insufficient)",
         "failed with -30900 (host insufficient): the host is insufficient"},
        {"16 bits on version 7",
         {"--depth", "16", "--host-version", "7"},
         "-30914 (host too old for 16-bit documents)",
         "16-bit documents need a host of major version 8 or later"},
        {"no Sets before version 6",
         {"--host-version", "5"},
         "-30900 (host insufficient)",
         "offers no Sets here"},
    };
    for (const Case& c : cases) {
        const Finished f = RunEffect(kOutput, kInkjet, kGlossy300, c.options);
        EXPECT_EQ(1, f.status) << c.what;
        EXPECT_TRUE(Contains(f.out, "\nresult     " + c.result + "\n")) << c.what << "\n" << f.out;
        EXPECT_TRUE(Contains(f.out, "\nhistory    none\n")) << c.what;
        EXPECT_TRUE(Contains(f.out, "\naccounting clean\n")) << c.what;
        EXPECT_TRUE(Contains(f.err, c.message)) << c.what << "\n" << f.err;
    }
}

TEST_F(RunCommand, TheHostRefusesAPluginWithoutADocumentItAccepts) {
    const Finished f = RunEffect(kOutput, kInkjet, kGlossy300, {"--no-document"});
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(Contains(f.err, "vellicor run: the host does not offer Vellicor Output Honer... here: "))
        << f.err;
    EXPECT_TRUE(Contains(f.err, "no image is open")) << f.err;
    EXPECT_TRUE(Contains(f.out, "\nevents     0 played\n"));
}

TEST_F(RunCommand, NamedColourSettingsAreSwitchedOffAndSelectedAgain) {
    const Finished f = RunEffect(kOutput, kInkjet, kGlossy300, {"--colour-settings", "Prepress Standard"});
    ASSERT_EQ(0, f.status) << f.err;
    const std::vector<std::string> events = PlayedEvents(f.out);
    ASSERT_EQ(7u, events.size()) << f.out;
    EXPECT_EQ("set", events[1]);
    EXPECT_EQ("set", events[6]);
    EXPECT_TRUE(Contains(f.out, "'Nm  ': \"Prepress Standard\"")) << f.out;
}

TEST_F(RunCommand, AModuleFileWithoutPluginsIsRefused) {
    const std::filesystem::path notModule = std::filesystem::path(settingsFolder.Path()) / "Honer.8li";
    std::ofstream(notModule) << "not a module\n";
    const Finished f = Run({"--plugin", kOutput, "--module", notModule.string()}, false);
    EXPECT_EQ(1, f.status);
    EXPECT_TRUE(Contains(f.err, "vellicor run: module refused: ")) << f.err;
    EXPECT_EQ("", f.out);
}

TEST_F(RunCommand, BadUsageExitsWithTwoAndSaysWhy) {
    struct Case {
        std::vector<std::string> args;
        std::string why;
    };
    const Case cases[] = {
        {{"--set", kInkjet, "--effect", kGlossy300}, "--plugin is required"},
        {{"--plugin", kOutput, "--set", kInkjet}, "--set and --effect go together"},
        {{"--plugin", kOutput, "--effect", kGlossy300}, "--set and --effect go together"},
        {{"--plugin", kOutput, "--size", "3"}, "unknown option --size"},
        {{"--plugin", kOutput, "--depth", "12"}, "--depth is 8 or 16"},
        {{"--plugin", kOutput, "--width", "0"}, "--width wants a whole number from 1 to 300000"},
        {{"--plugin", kOutput, "--ppi", "72.5"}, "--ppi wants a whole number"},
        {{"--plugin", kOutput, "--no-document", "--depth", "8"},
         "--no-document and --depth do not go together"},
        {{"--plugin", kOutput, "--play", "3"}, "--play is 0, 1 or 2"},
        {{"--plugin", kOutput, "--colour-settings", "Vivid"}, "the host has no colour settings \"Vivid\""},
        {{"--plugin"}, "option --plugin needs a value"},
        {{"--plugin", kOutput, "-x"}, "unexpected argument \"-x\""},
    };
    for (const Case& c : cases) {
        const Finished f = Run(c.args);
        EXPECT_EQ(2, f.status) << c.why;
        EXPECT_EQ(0u, f.err.rfind("vellicor run: " + c.why, 0)) << f.err;
        EXPECT_TRUE(Contains(f.err, "(see vellicor run --help)")) << f.err;
        EXPECT_EQ("", f.out) << c.why;
    }
}

TEST_F(RunCommand, HelpNamesEveryOption) {
    const Finished f = Run({"--help"}, false);
    EXPECT_EQ(0, f.status);
    for (const char* option : {"--plugin", "--set", "--effect", "--module", "--depth", "--width", "--height",
                               "--ppi", "--profile", "--play", "--colour-settings", "--reported-name",
                               "--host-name", "--host-version", "--no-document", "--calls"}) {
        EXPECT_TRUE(Contains(f.out, option)) << option;
    }
}

} // namespace
} // namespace vhost::e2e
