// The host's reading of a Windows module: the plug-ins it registers from the
// PE resources.
#include "windows/tests/WineSupport.h"

#include "host/resources/ModulePlugins.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vhost::wintest {
namespace {

TEST(PeRegistration, DescribesTheFourPluginsFromThePeResources) {
    const std::vector<PluginDescription> plugins = DescribeModulePlugins(HonerPath());
    const std::vector<std::string> names = {"Vellicor Capture Honer", "Vellicor Creative Honer",
                                            "Vellicor Output Honer", "Vellicor Capture Honer Expert"};
    ASSERT_EQ(names.size(), plugins.size());
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const PluginDescription& p = plugins[i];
        EXPECT_EQ(names[i] + "...", p.menuName);
        EXPECT_EQ(16000 + i, p.resourceID);
        EXPECT_EQ(p.resourceID, p.terminologyID);
        EXPECT_EQ("PluginMain", p.entryPoint);
        EXPECT_EQ("Corvane LabsHoner", p.category);
        EXPECT_EQ("Corvane Labs " + names[i], p.scope);
        EXPECT_EQ("in(PSHOP_ImageMode, RGBMode, RGB48Mode)", p.enableExpression);
        ASSERT_EQ(2u, p.parameters.size());
    }
}

} // namespace
} // namespace vhost::wintest
