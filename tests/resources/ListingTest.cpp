// The plug-in listing of `vellicor list`, from the built module.
#include "ModuleFiles.h"

#include "host/resources/ModulePlugins.h"
#include "host/resources/PluginListing.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vlhtest {
namespace {

const char kCaptureEntry[] =
    "\nVellicor Capture Honer...\n"
    "  category      Corvane LabsHoner\n"
    "  version       1.0\n"
    "  entry point   PluginMain\n"
    "  modes         RGB Color (RGBMode)\n"
    "  enabled when  in(PSHOP_ImageMode, RGBMode, RGB48Mode)\n"
    "  scripting     event 'null' of class 'VlCr', terminology 16000, scope \"Corvane "
    "Labs Vellicor Capture Honer\"\n"
    "  parameters    Set ('VlSt', 'TEXT'), Effect ('VlAc', 'TEXT')\n";

TEST(Listing, ShowsEveryPluginWithWhatTheHostKnows) {
    std::ostringstream out;
    vhost::WritePluginListing("Honer.8li", vhost::DescribeModulePlugins(ModulePath()), out);
    std::string text = out.str();
    EXPECT_EQ(text.rfind("Honer.8li: 4 plug-ins\n", 0), 0u) << text;
    EXPECT_NE(text.find(kCaptureEntry), std::string::npos) << text;
    size_t previous = 0;
    for (const char* name : {"\nVellicor Capture Honer...\n", "\nVellicor Creative Honer...\n",
                             "\nVellicor Output Honer...\n", "\nVellicor Capture Honer Expert...\n"}) {
        size_t at = text.find(name);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, previous) << name << " out of order";
        previous = at;
    }
    EXPECT_NE(text.find("terminology 16003, scope \"Corvane Labs Vellicor Capture Honer Expert\""),
              std::string::npos);
}

TEST(Listing, SetsAndEffectsWriterAddsItsLinesUnderEachPlugin) {
    std::ostringstream out;
    std::vector<std::string> asked;
    vhost::WritePluginListing("Honer.8li", vhost::DescribeModulePlugins(ModulePath()), out,
                              [&](const vhost::PluginDescription& p, std::ostream& o) {
                                  asked.push_back(p.NameWithoutEllipsis());
                                  o << "  sets          " << p.resourceID << '\n';
                              });
    EXPECT_EQ(asked, (std::vector<std::string>{"Vellicor Capture Honer", "Vellicor Creative Honer",
                                               "Vellicor Output Honer", "Vellicor Capture Honer Expert"}));
    EXPECT_NE(out.str().find("'TEXT')\n  sets          16002\n\nVellicor Capture Honer Expert"),
              std::string::npos)
        << out.str();
}

} // namespace
} // namespace vlhtest
