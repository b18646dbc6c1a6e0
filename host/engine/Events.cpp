#include "host/engine/Events.h"

#include <sstream>

#include "host/engine/BlendMode.h"
#include "host/engine/DocumentPixels.h"
#include "host/engine/EngineError.h"
#include "host/engine/EventTerms.h"
#include "host/engine/Filters.h"

namespace vhost::engine {

namespace {

using namespace terms;

LayerStack& Layers(EventContext& c) {
    return c.pixels.layers;
}
Layer& Target(EventContext& c) {
    return c.pixels.layers.Target();
}

// ---- layers --------------------------------------------------------------------

void Duplicate(EventContext& c) {
    const EventParameters& p = c.parameters;
    p.AllowOnly({kTarget, kName});
    const size_t index =
        p.Has(kTarget) ? ResolveLayer(p.ReferenceAt(kTarget), Layers(c), false) : Layers(c).TargetIndex();
    std::string name = p.Has(kName) ? p.Text(kName) : Layers(c).At(index).name + " copy";
    Layers(c).Duplicate(index, std::move(name));
}

bool SetsALayer(const PlayCall& call) {
    const Value* target = call.descriptor != nullptr ? call.descriptor->Find(kTarget) : nullptr;
    return target != nullptr && target->Type() == type::kReference && NamesALayer(target->ReferenceValue());
}

BlendMode ModeOf(EventContext& c, const EventParameters& to) {
    const uint32_t value = to.Enumerated(kMode, kBlendMode);
    if (auto mode = BlendModeFromCode(value)) {
        return *mode;
    }
    // A mode without a code ("linearLight") arrives as a run-time ID.
    if (auto stringID = c.host.Terms().ToStringID(value)) {
        if (auto mode = BlendModeFromStringID(*stringID)) {
            return *mode;
        }
    }
    throw EngineError(code::kInvalidParameters, "unknown blend mode '" + vlh::FourCCText(value) + "'");
}

double OpacityOf(const EventParameters& to) {
    const double percent = to.UnitFloat(kOpacity, kPercent);
    if (!(percent >= 0 && percent <= 100)) {
        std::ostringstream message;
        message << "opacity " << percent << " % is outside 0 to 100 %";
        throw EngineError(code::kInvalidParameters, message.str());
    }
    return percent / 100.0;
}

void SetLayer(EventContext& c) {
    const EventParameters& p = c.parameters;
    p.AllowOnly({kTarget, kTo});
    Layer& layer = Layers(c).At(ResolveLayer(p.ReferenceAt(kTarget), Layers(c), false));
    const EventParameters to = p.Object(kTo, kLayer);
    to.AllowOnly({kMode, kOpacity, kName});
    // Everything is read before anything changes.
    const std::optional<BlendMode> mode = to.Has(kMode) ? std::optional(ModeOf(c, to)) : std::nullopt;
    const std::optional<double> opacity = to.Has(kOpacity) ? std::optional(OpacityOf(to)) : std::nullopt;
    const std::optional<std::string> name = to.Has(kName) ? std::optional(to.Text(kName)) : std::nullopt;
    layer.mode = mode.value_or(layer.mode);
    layer.opacity = opacity.value_or(layer.opacity);
    layer.name = name.value_or(layer.name);
}

void Select(EventContext& c) {
    const EventParameters& p = c.parameters;
    p.AllowOnly({kTarget});
    Layers(c).Select(ResolveLayer(p.ReferenceAt(kTarget), Layers(c), true));
}

void MergeDown(EventContext& c) {
    c.parameters.AllowOnly({});
    Layers(c).MergeDown();
}

void Flatten(EventContext& c) {
    c.parameters.AllowOnly({});
    Layers(c).Flatten();
}

// ---- filters on the target layer -----------------------------------------------

void Sharpen(EventContext& c) {
    const EventParameters& p = c.parameters;
    p.AllowOnly({kAmount, kRadius, kThreshold});
    Target(c).pixels = UnsharpMask(Target(c).pixels, p.UnitFloat(kAmount, kPercent),
                                   p.UnitFloat(kRadius, kPixels), p.Integer(kThreshold));
}

void KeepDetail(EventContext& c) {
    c.parameters.AllowOnly({kRadius});
    Target(c).pixels = HighPass(Target(c).pixels, c.parameters.UnitFloat(kRadius, kPixels));
}

void Blur(EventContext& c) {
    c.parameters.AllowOnly({kRadius});
    Target(c).pixels = GaussianBlur(Target(c).pixels, c.parameters.UnitFloat(kRadius, kPixels));
}

void MakeGrey(EventContext& c) {
    c.parameters.AllowOnly({});
    Target(c).pixels = Desaturate(Target(c).pixels);
}

void Negate(EventContext& c) {
    c.parameters.AllowOnly({});
    Target(c).pixels = Invert(Target(c).pixels);
}

} // namespace

const std::vector<EventEntry>& EventTable() {
    static const std::vector<EventEntry> table = {
        {"duplicate", nullptr, Duplicate},
        {"set", SetsALayer, SetLayer},
        {"unsharpMask", nullptr, Sharpen},
        {"highPass", nullptr, KeepDetail},
        {"gaussianBlur", nullptr, Blur},
        {"desaturate", nullptr, MakeGrey},
        {"invert", nullptr, Negate},
        {"select", nullptr, Select},
        {"mergeLayersNew", nullptr, MergeDown},
        {"flattenImage", nullptr, Flatten},
    };
    return table;
}

} // namespace vhost::engine
