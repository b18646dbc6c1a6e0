// Every Effect the module file lists, run through the real module (Honer.8li)
// in the host with the image engine: a replay with the Set and Effect as
// parameters must play it as one history state named after it, hand the
// choice back, and leave as many layers as its plug-in promises.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "host/catalogue/ModuleSets.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"
#include "hostapi/FourCharCode.h"
#include "tests/support/EndToEnd.h"

namespace vhost::e2e {
namespace {

using vlh::FourCC;

class EveryEffectEndToEnd : public EndToEndTest {
protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        notes = engine::InstallEngine(host);
    }

    const engine::LayerStack& FreshDocument() {
        host.CloseDocument();
        Document document;
        document.width = 24;
        document.height = 16;
        return engine::PixelsOf(host.OpenDocument(document)).layers;
    }

    static std::string TextOf(const std::optional<Descriptor>& d, const char (&key)[5]) {
        const Value* v = d ? d->Find(FourCC(key)) : nullptr;
        return v != nullptr && v->Type() == type::kText ? v->Text() : "<none>";
    }

    std::shared_ptr<const engine::EngineNotes> notes;
};

TEST_F(EveryEffectEndToEnd, EveryListedEffectReplaysThroughTheModule) {
    // Layers each plug-in's Effects leave above the document's own.
    const std::map<std::string, size_t> layersLeft = {{"Vellicor Capture Honer", 0},
                                                      {"Vellicor Creative Honer", 1},
                                                      {"Vellicor Output Honer", 0},
                                                      {"Vellicor Capture Honer Expert", 2}};
    size_t replayed = 0;
    for (const ListedPlugin& plugin : ListModuleSets(HonerPath())) {
        for (const ListedSet& set : plugin.sets) {
            for (const std::string& effect : set.effects) {
                SCOPED_TRACE(plugin.name + " / " + set.name + " / " + effect);
                const engine::LayerStack& layers = FreshDocument();
                DoItRequest request;
                request.playInfo = plugInDialogDontDisplay;
                Descriptor parameters;
                parameters.Put(FourCC("VlSt"), Value::String(set.name));
                parameters.Put(FourCC("VlAc"), Value::String(effect));
                request.descriptor = parameters;

                const DoItResult r = DoIt(plugin.name + "...", request);
                ASSERT_EQ(0, r.result) << r.refusal.value_or("") << notes->lastFailure;
                ++replayed;
                EXPECT_EQ(std::vector<std::string>{effect}, host.ActiveDocument()->history);
                EXPECT_EQ(set.name, TextOf(r.descriptor, "VlSt"));
                EXPECT_EQ(effect, TextOf(r.descriptor, "VlAc"));
                EXPECT_EQ(1 + layersLeft.at(plugin.name), layers.Count());
            }
        }
    }
    EXPECT_GE(replayed, 39u * 3);
}

} // namespace
} // namespace vhost::e2e
