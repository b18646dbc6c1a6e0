// The host's reader on the built module: four plug-ins registered with their
// menu names and everything the property lists and terminologies say, also
// after strip; files that are not modules are refused with a message.
#include "ModuleFiles.h"

#include "host/resources/ModulePlugins.h"
#include "host/resources/ResourceError.h"
#include "hostapi/FourCharCode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vlhtest {
namespace {

using vlh::FourCC;

struct Expected {
    const char* menuName;
    const char* reportedName;
    uint16_t id;
    const char* scope;
};

const Expected kExpected[] = {
    {"Vellicor Capture Honer...", "Vellicor Capture Honer", 16000, "Corvane Labs Vellicor Capture Honer"},
    {"Vellicor Creative Honer...", "Vellicor Creative Honer", 16001, "Corvane Labs Vellicor Creative Honer"},
    {"Vellicor Output Honer...", "Vellicor Output Honer", 16002, "Corvane Labs Vellicor Output Honer"},
    {"Vellicor Capture Honer Expert...", "Vellicor Capture Honer Expert", 16003,
     "Corvane Labs Vellicor Capture Honer Expert"},
};

void ExpectHonerPlugins(const std::vector<vhost::PluginDescription>& plugins) {
    ASSERT_EQ(plugins.size(), std::size(kExpected));
    for (size_t i = 0; i < plugins.size(); ++i) {
        const vhost::PluginDescription& p = plugins[i];
        const Expected& e = kExpected[i];
        SCOPED_TRACE(e.menuName);
        EXPECT_EQ(p.menuName, e.menuName);
        EXPECT_EQ(p.NameWithoutEllipsis(), e.reportedName);
        EXPECT_EQ(p.resourceID, e.id);
        EXPECT_EQ(p.category, "Corvane LabsHoner");
        EXPECT_EQ(p.versionMajor, 1);
        EXPECT_EQ(p.versionMinor, 0);
        EXPECT_EQ(p.entryPoint, "PluginMain");
        EXPECT_EQ(p.modes, std::optional<uint16_t>(0x1000));
        EXPECT_EQ(p.enableExpression, "in(PSHOP_ImageMode, RGBMode, RGB48Mode)");
        EXPECT_EQ(p.classID, FourCC("VlCr"));
        EXPECT_EQ(p.eventID, FourCC("null"));
        EXPECT_EQ(p.terminologyID, e.id);
        EXPECT_EQ(p.scope, e.scope);
        ASSERT_EQ(p.parameters.size(), 2u);
        EXPECT_EQ(p.parameters[0].name, "Set");
        EXPECT_EQ(p.parameters[0].key, FourCC("VlSt"));
        EXPECT_EQ(p.parameters[0].type, FourCC("TEXT"));
        EXPECT_EQ(p.parameters[1].name, "Effect");
        EXPECT_EQ(p.parameters[1].key, FourCC("VlAc"));
        EXPECT_EQ(p.parameters[1].type, FourCC("TEXT"));
    }
}

TEST(Registration, BuiltModuleRegistersTheFourPlugins) {
    ExpectHonerPlugins(vhost::DescribeModulePlugins(ModulePath()));
}

TEST(Registration, StrippedModuleKeepsItsResources) {
    TemporaryDirectory dir;
    std::string copy = dir.Path() + "/Honer.8li";
    std::filesystem::copy_file(ModulePath(), copy);
    RunCommand("strip '" + copy + "'");
    EXPECT_EQ(RunCommand("nm '" + copy + "' 2>&1"), "nm: " + copy + ": no symbols\n");
    ExpectHonerPlugins(vhost::DescribeModulePlugins(copy));
    EXPECT_EQ(SectionOfFile(copy), SectionOfFile(ModulePath()));
}

// The module's only dynamic symbol is its entry point: the resource array,
// though marked used, is not exported.
TEST(Registration, ModuleExportsOnlyPluginMain) {
    std::string symbols = RunCommand("nm -D --defined-only '" + ModulePath() + "'");
    std::vector<std::string> names;
    std::istringstream lines(symbols);
    for (std::string line; std::getline(lines, line);) {
        names.push_back(line.substr(line.rfind(' ') + 1));
    }
    EXPECT_EQ(names, std::vector<std::string>{"PluginMain"}) << symbols;
}

void ExpectRefused(const std::string& path, const std::string& fragment) {
    try {
        vhost::DescribeModulePlugins(path);
        ADD_FAILURE() << path << " was not refused";
    } catch (const vhost::ResourceError& e) {
        std::string message = e.what();
        EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(fragment), std::string::npos) << message;
    }
}

TEST(Registration, FilesThatAreNotModulesAreRefused) {
    TemporaryDirectory dir;
    std::string text = dir.Path() + "/notes.8li";
    std::ofstream(text) << "not a module\n";
    std::string empty = dir.Path() + "/empty.8li";
    std::ofstream{empty};
    std::string truncated = dir.Path() + "/truncated.8li";
    {
        std::ifstream in(ModulePath(), std::ios::binary);
        std::string head(64, '\0');
        in.read(head.data(), long(head.size()));
        std::ofstream(truncated, std::ios::binary) << head;
    }

    ExpectRefused(dir.Path() + "/missing.8li", "cannot open");
    ExpectRefused(text, "not an ELF file");
    ExpectRefused(empty, "not an ELF file");
    ExpectRefused(truncated, "section");
    // An ELF file without plug-in resources: this test program.
    ExpectRefused(std::filesystem::read_symlink("/proc/self/exe").string(), "carries no plug-in resources");
}

} // namespace
} // namespace vlhtest
