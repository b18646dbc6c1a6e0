// A host with every suite acquired (the accounting checked after each test),
// the engine installed, and helpers to build event descriptors and play them
// through the control suite as the module does.
#pragma once

#include <optional>
#include <string>

#include "host/engine/DocumentPixels.h"
#include "host/engine/Engine.h"
#include "tests/host/SuiteFixture.h"

namespace vhost::engine::test {

using vhost::test::FourCC;

class EngineFixture : public vhost::test::SuiteFixture {
protected:
    void SetUp() override;

    // Opens a document of the image (8 or 16 bits, RGB).
    Document& OpenDocumentOf(const vips::VImage& image);
    DocumentPixels& Pixels() { return *host.ActiveDocument()->pixels; }
    LayerStack& Layers() { return Pixels().layers; }

    // Plays one event by string ID through Control.Play; its status.
    OSErr Play(const std::string& stringID, const std::optional<Descriptor>& descriptor = std::nullopt);

    std::shared_ptr<const EngineNotes> notes;
};

// References and descriptors as the recipes record them.
Reference TargetLayer();
Reference LayerNamed(const std::string& name);
Reference LayerStep(const char (&ordinal)[5]); // "Bckw" or "Frwr"
Descriptor Keys(std::initializer_list<std::pair<const char*, Value>> items);
Value Percent(double v);
Value Px(double v);
Value Mode(const char (&code)[5]);
Value Ref(const Reference& reference);
Value LayerObject(const Descriptor& properties);

// "set" on the target layer with these properties.
Descriptor SetTarget(const Descriptor& properties);
Descriptor Sharpening(double amount, double radius, int32_t threshold);

} // namespace vhost::engine::test
