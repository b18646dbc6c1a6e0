#include "host/engine/LayerStack.h"

#include "host/engine/Blend.h"
#include "host/engine/EngineError.h"
#include "host/engine/RowCache.h"

namespace vhost::engine {

namespace {

void CheckIndex(size_t index, size_t count) {
    if (index >= count) {
        throw EngineError(code::kReferenceNotFound, "the document has no layer " + std::to_string(index + 1));
    }
}

} // namespace

LayerStack::LayerStack(vips::VImage background) {
    layers_.push_back(Layer{std::string(kBackgroundName), BlendMode::Normal, 1.0, std::move(background)});
}

std::optional<size_t> LayerStack::FindByName(std::string_view name) const {
    for (size_t i = layers_.size(); i-- > 0;) {
        if (layers_[i].name == name) {
            return i;
        }
    }
    return std::nullopt;
}

void LayerStack::Select(size_t index) {
    CheckIndex(index, layers_.size());
    target_ = index;
}

void LayerStack::Duplicate(size_t index, std::string name) {
    CheckIndex(index, layers_.size());
    Layer copy = layers_[index];
    copy.name = std::move(name);
    layers_.insert(layers_.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(copy));
    target_ = index + 1;
}

void LayerStack::MergeDown() {
    if (target_ == 0) {
        throw EngineError(code::kEventNotAvailable,
                          "layer \"" + Target().name + "\" has no layer below to merge into");
    }
    const Layer& top = layers_[target_];
    Layer& below = layers_[target_ - 1];
    below.pixels = Blend(below.pixels, top.pixels, top.mode, top.opacity);
    layers_.erase(layers_.begin() + static_cast<std::ptrdiff_t>(target_));
    --target_;
}

void LayerStack::Flatten() {
    vips::VImage flat = Composite();
    layers_.clear();
    layers_.push_back(Layer{std::string(kBackgroundName), BlendMode::Normal, 1.0, std::move(flat)});
    target_ = 0;
}

vips::VImage LayerStack::Composite() const {
    vips::VImage result = layers_.front().pixels;
    for (size_t i = 1; i < layers_.size(); ++i) {
        result = Blend(result, layers_[i].pixels, layers_[i].mode, layers_[i].opacity);
    }
    // Whoever reads the result (a file being written, a sheet) asks for
    // whole rows; through the cache, the stack beneath is made a chunk of
    // rows at a time in narrow bands, and its buffers stay small.
    return CacheRows(result);
}

} // namespace vhost::engine
