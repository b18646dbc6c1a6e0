// engine_bench IN OUT AMOUNT RADIUS THRESHOLD
//
// A capture Effect through the host's engine, file to file: the document is
// opened as the host opens it, the events are played through the host's
// Play handlers as the module plays them (duplicate, unsharp mask, set
// luminosity, merge down), and the result is saved.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/core/Host.h"
#include "host/engine/DocumentFiles.h"
#include "host/engine/Engine.h"
#include "host/engine/EngineError.h"
#include "host/engine/EventTerms.h"

namespace {

using namespace vhost;
using namespace vhost::engine::terms;

int16_t PlayEvent(Host& host, const std::string& stringID, const Descriptor* descriptor) {
    const auto id = host.Terms().ToTypeID(stringID);
    return host.Play(PlayCall{id.value_or(0), stringID, descriptor, 0}).result;
}

Reference TargetLayer() {
    Reference r;
    r.Append(ReferenceForm{form::kEnumerated, kLayer, kOrdinal, kTargetEnum, 0, 0, ""});
    return r;
}

int16_t Capture(Host& host, double amount, double radius, int32_t threshold) {
    Descriptor duplicate;
    duplicate.Put(kTarget, Value::ReferenceTo(TargetLayer()));
    duplicate.Put(kName, Value::String("Sharpen"));
    Descriptor sharpen;
    sharpen.Put(kAmount, Value::UnitFloat(kPercent, amount));
    sharpen.Put(kRadius, Value::UnitFloat(kPixels, radius));
    sharpen.Put(kThreshold, Value::Integer(threshold));
    Descriptor luminosity;
    luminosity.Put(kMode, Value::Enumerated(kBlendMode, vlh::FourCC("Lmns")));
    Descriptor set;
    set.Put(kTarget, Value::ReferenceTo(TargetLayer()));
    set.Put(kTo, Value::Object(kLayer, luminosity));
    for (const auto& [event, descriptor] :
         {std::pair<const char*, const Descriptor*>{"duplicate", &duplicate},
          {"unsharpMask", &sharpen},
          {"set", &set},
          {"mergeLayersNew", nullptr}}) {
        if (const int16_t status = PlayEvent(host, event, descriptor); status != 0) {
            return status;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: engine_bench IN OUT AMOUNT RADIUS THRESHOLD\n");
        return 2;
    }
    try {
        Host host;
        const auto notes = engine::InstallEngine(host);
        host.OpenDocument(engine::OpenImageDocument(argv[1]));
        if (const int16_t status = Capture(host, std::atof(argv[3]), std::atof(argv[4]), std::atoi(argv[5]));
            status != 0) {
            std::fprintf(stderr, "engine_bench: %d %s\n", status, notes->lastFailure.c_str());
            return 1;
        }
        engine::SaveImageDocument(*host.ActiveDocument(), argv[2]);
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "engine_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
