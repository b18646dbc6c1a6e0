// A document's layers, bottom first, and its target layer. Pixels are lazy
// float RGB images on the 0..1 scale, all of the document's size; copying a
// stack copies references to them, not pixels, so a copy is a cheap and
// complete snapshot of the document's state.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <vips/vips8>

#include "host/engine/BlendMode.h"

namespace vhost::engine {

struct Layer {
    std::string name;
    BlendMode mode = BlendMode::Normal;
    double opacity = 1.0; // 0..1
    vips::VImage pixels;
};

class LayerStack {
public:
    static constexpr std::string_view kBackgroundName = "Background";

    // One layer, "Background", normal at full opacity.
    explicit LayerStack(vips::VImage background);

    size_t Count() const { return layers_.size(); }
    // Index 0 is the bottom layer. Throws std::out_of_range past the top.
    const Layer& At(size_t index) const { return layers_.at(index); }
    Layer& At(size_t index) { return layers_.at(index); }
    size_t TargetIndex() const { return target_; }
    const Layer& Target() const { return layers_[target_]; }
    Layer& Target() { return layers_[target_]; }

    // The topmost layer of that exact name (bytes compared, case counting).
    std::optional<size_t> FindByName(std::string_view name) const;

    // Makes layer `index` the target. Throws EngineError(kReferenceNotFound)
    // past the top.
    void Select(size_t index);

    // Puts a copy of layer `index` above it, named `name`, and makes the copy
    // the target. Throws EngineError(kReferenceNotFound) past the top.
    void Duplicate(size_t index, std::string name);

    // Composites the target into the layer below with the target's mode and
    // opacity; the layer below keeps its name, mode and opacity and becomes the
    // target. Throws EngineError(kEventNotAvailable) when the target is the
    // bottom layer.
    void MergeDown();

    // Composites every layer, bottom up, into one "Background" layer. The
    // bottom layer is the base; its own mode and opacity do not apply.
    void Flatten();

    // What the layers show: the bottom layer with every layer above blended
    // over it in order. Lazy.
    vips::VImage Composite() const;

private:
    std::vector<Layer> layers_;
    size_t target_ = 0;
};

} // namespace vhost::engine
