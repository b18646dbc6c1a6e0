// Every Effect of every plug-in, played by the module's own playback on the
// host's image engine: each event must be one the engine takes, with keys,
// types, units and ranges it accepts, and the layers it leaves must be the
// ones its plug-in promises. The composite is computed, so the filters run.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "actionsets/Playback.h"
#include "catalogue/Catalogue.h"
#include "host/engine/BlendMode.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"
#include "hostapi/FourCharCode.h"
#include "tests/catalogue/HostFixture.h"
#include "tests/catalogue/LayerEffects.h"

namespace vlh::test {
namespace {

class CatalogueOnEngineTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        notes = vhost::engine::InstallEngine(host);
    }

    // A fresh document of a few pixels with one background layer.
    vhost::engine::LayerStack& FreshDocument() {
        host.CloseDocument();
        vhost::Document document;
        document.width = 24;
        document.height = 16;
        return vhost::engine::PixelsOf(host.OpenDocument(document)).layers;
    }

    std::shared_ptr<const vhost::engine::EngineNotes> notes;
};

TEST_F(CatalogueOnEngineTest, EveryEffectPlaysAndLeavesTheLayersItsPlugInPromises) {
    size_t played = 0;
    for (const PluginRecord& record : PluginRecords()) {
        RunContext run;
        std::strncpy(run.pluginName, record.name, sizeof run.pluginName - 1);
        ASSERT_TRUE(LoadPluginSets(run)) << record.name;
        for (const auto& set : run.sets) {
            for (const auto& effect : set->effects) {
                SCOPED_TRACE(std::string(record.name) + " / " + set->name + " / " + effect->name);
                vhost::engine::LayerStack& layers = FreshDocument();
                ASSERT_EQ(0, PlayEffect(*effect)) << notes->lastFailure;
                ++played;
                const LayerOutcome expected = SimulateLayers(*effect);
                ASSERT_EQ(expected.layers.size(), layers.Count());
                for (size_t i = 1; i < layers.Count(); ++i) {
                    EXPECT_EQ(expected.layers[i].name, layers.At(i).name);
                    EXPECT_EQ(expected.layers[i].mode,
                              FourCCText(vhost::engine::BlendModeCode(layers.At(i).mode)));
                    EXPECT_DOUBLE_EQ(expected.layers[i].opacity / 100, layers.At(i).opacity);
                }
                const vips::VImage composite = layers.Composite();
                EXPECT_EQ(24, composite.width());
                EXPECT_TRUE(std::isfinite(composite.avg()));
            }
        }
    }
    EXPECT_GE(played, 39u * 3);
}

} // namespace
} // namespace vlh::test
