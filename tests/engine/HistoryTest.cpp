#include "EngineFixture.h"
#include "TestImages.h"
#include "host/engine/EngineError.h"

namespace vhost::engine::test {
namespace {

// The procedure SuspendHistory calls: plays its events through the control
// suite until one fails, and returns that status, as an Effect does.
struct Procedure {
    EngineFixture* fixture;
    std::vector<std::pair<std::string, std::optional<Descriptor>>> events;
};

class History : public EngineFixture {
public:
    OSErr PlayAll(const Procedure& p) {
        for (const auto& [event, descriptor] : p.events) {
            if (const OSErr status = Play(event, descriptor); status != 0) {
                return status;
            }
        }
        return 0;
    }

    OSErr Suspend(Procedure& procedure) {
        PIActionReference ref = NewReference();
        EXPECT_EQ(0, r->PutEnumerated(ref, FourCC("Dcmn"), FourCC("Ordn"), FourCC("Trgt")));
        ASZString name = nullptr;
        EXPECT_EQ(0, z->MakeFromCString("Capture", 7, &name));
        const OSErr status = c->SuspendHistory(
            ref,
            [](void* data) -> SPErr {
                auto* p = static_cast<Procedure*>(data);
                return static_cast<History*>(p->fixture)->PlayAll(*p);
            },
            &procedure, name);
        EXPECT_EQ(0, z->Release(name));
        EXPECT_EQ(0, r->Free(ref));
        return status;
    }
};

TEST_F(History, ASuccessfulProcedureKeepsItsWorkAndNestedStatesUnwind) {
    OpenDocumentOf(FlatRgb(8, 8, 0.3f, 0.6f, 0.9f).linear(255.0, 0.0).cast(VIPS_FORMAT_UCHAR));
    Procedure procedure{this, {{"duplicate", std::nullopt}, {"invert", std::nullopt}}};
    EXPECT_EQ(Suspend(procedure), 0);
    EXPECT_EQ(Layers().Count(), 2u);
    EXPECT_EQ(Layers().Target().name, "Background copy");
    EXPECT_EQ(host.ActiveDocument()->history, std::vector<std::string>{"Capture"});
    EXPECT_TRUE(Pixels().saved.empty());
    Procedure failing{this, {{"duplicate", std::nullopt}, {"highPass", std::nullopt}}};
    EXPECT_EQ(Suspend(failing), code::kMissingParameter);
    EXPECT_EQ(Layers().Count(), 2u);
    EXPECT_EQ(Layers().Target().name, "Background copy");
}

} // namespace
} // namespace vhost::engine::test
