// Endurance: two thousand run requests to the real module in one host
// process, over every plug-in and every Set and Effect it offers, one in five
// of them failing on purpose (names the catalogue does not have, or a host
// routine that fails). Each request is checked as it returns; afterwards the
// host must hold nothing of the module's, and the process's resident memory
// after the first hundred requests must have grown by less than 1 MiB. The
// host plays without its image engine, so the figures measure the module.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/catalogue/ModuleSets.h"
#include "hostapi/FourCharCode.h"
#include "tests/support/EndToEnd.h"

namespace vhost::e2e {
namespace {

using vlh::FourCC;

// AddressSanitizer keeps freed blocks in quarantine, so resident memory grows
// under it whatever the module does; there LeakSanitizer watches for leaks
// instead and the figures are only printed.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

constexpr int kRequests = 2000;
constexpr int kWarmUp = 100;
constexpr long kAllowedGrowth = 1024 * 1024;
constexpr int32_t kInjected = -25920;

// The process's resident size in bytes, from /proc/self/statm.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// One request of the mix: a plug-in, the names it is given, and what is done
// to the host first.
struct Request {
    enum class Kind { Good, UnknownSet, UnknownEffect, PlayFails, ReadFails } kind = Kind::Good;
    std::string menu;
    std::string set;
    std::string effect;
};

// Every Set and Effect each plug-in offers, as a host lists them from the
// module file.
struct Offer {
    std::string menu;
    std::string set;
    std::string effect;
};

std::vector<Offer> Offers() {
    std::vector<Offer> offers;
    for (const ListedPlugin& plugin : ListModuleSets(HonerPath())) {
        for (const ListedSet& set : plugin.sets) {
            for (const std::string& effect : set.effects) {
                offers.push_back({plugin.name + "...", set.name, effect});
            }
        }
    }
    return offers;
}

// Request i of the mix: four in five play an offered Effect (walking through
// all of them in turn); the fifth fails in one of four ways.
Request RequestNumber(int i, const std::vector<Offer>& offers) {
    const Offer& offer = offers[size_t(i) % offers.size()];
    Request r{Request::Kind::Good, offer.menu, offer.set, offer.effect};
    if (i % 5 == 4) {
        switch ((i / 5) % 4) {
        case 0:
            r.kind = Request::Kind::UnknownSet;
            r.set += " (no such Set)";
            break;
        case 1:
            r.kind = Request::Kind::UnknownEffect;
            r.effect = "No such Effect " + std::to_string(i);
            break;
        case 2:
            r.kind = Request::Kind::PlayFails;
            break;
        default:
            r.kind = Request::Kind::ReadFails;
            break;
        }
    }
    return r;
}

struct Tally {
    int played = 0;
    int refusedNames = 0;
    int failedPlays = 0;
    int failedReads = 0;
};

class Endurance : public EndToEndTest {
protected:
    // Sends one request on a fresh document and checks its answer.
    void Send(const Request& r, Tally& tally) {
        host.OpenDocument(SmallRgbDocument());
        host.Events().Clear();
        host.Calls().Clear(); // planned faults count calls from here
        host.FaultPlan().Clear();
        if (r.kind == Request::Kind::PlayFails) {
            // The first Play is the clipboard purge, the second the Effect's first event.
            host.FaultPlan().FailOnCall("Control.Play", 2, kInjected);
        } else if (r.kind == Request::Kind::ReadFails) {
            // Every text read fails, so the parameters cannot be read.
            host.FaultPlan().FailEveryCall("Descriptor.GetString", kInjected);
        }
        DoItRequest request;
        request.playInfo = plugInDialogDontDisplay;
        request.descriptor = Descriptor();
        request.descriptor->Put(FourCC("VlSt"), Value::String(r.set));
        request.descriptor->Put(FourCC("VlAc"), Value::String(r.effect));
        const DoItResult result = DoIt(r.menu, request);
        const size_t states = host.ActiveDocument()->history.size();
        switch (r.kind) {
        case Request::Kind::Good:
            ASSERT_EQ(0, result.result) << r.menu << " / " << r.set << " / " << r.effect;
            ASSERT_EQ(1u, states) << r.effect;
            ++tally.played;
            break;
        case Request::Kind::UnknownSet:
        case Request::Kind::UnknownEffect:
            ASSERT_EQ(kSPBadParameterError, result.result) << r.set << " / " << r.effect;
            ASSERT_EQ(0u, states);
            ++tally.refusedNames;
            break;
        case Request::Kind::PlayFails:
            ASSERT_EQ(kInjected, result.result) << r.effect;
            ASSERT_EQ(0u, states);
            ++tally.failedPlays;
            break;
        case Request::Kind::ReadFails:
            ASSERT_EQ(kInjected, result.result) << r.effect;
            ASSERT_EQ(0u, states);
            ++tally.failedReads;
            break;
        }
        ASSERT_TRUE(host.Clean()) << "after " << r.menu << " / " << r.set << " / " << r.effect << ":\n"
                                  << host.Report();
    }
};

TEST_F(Endurance, TwoThousandRunsKeepMemoryFlatAndLeaveNothingAlive) {
    const std::vector<Offer> offers = Offers();
    ASSERT_FALSE(offers.empty());
    Tally tally;
    long afterWarmUp = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRequests; ++i) {
        ASSERT_NO_FATAL_FAILURE(Send(RequestNumber(i, offers), tally)) << "request " << i;
        if (i + 1 == kWarmUp) {
            afterWarmUp = ResidentBytes();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long atEnd = ResidentBytes();
    const long growth = atEnd - afterWarmUp;

    std::printf("endurance: %d requests over %zu offered Effects in %.1f s (%.2f ms each)\n", kRequests,
                offers.size(), seconds, 1000 * seconds / kRequests);
    std::printf("endurance: %d played, %d refused for unknown names, %d failed plays, %d failed reads\n",
                tally.played, tally.refusedNames, tally.failedPlays, tally.failedReads);
    std::printf("endurance: resident %ld KiB after %d requests, %ld KiB after %d, growth %ld KiB\n",
                afterWarmUp / 1024, kWarmUp, atEnd / 1024, kRequests, growth / 1024);
    RecordProperty("resident_after_warm_up_kib", std::to_string(afterWarmUp / 1024));
    RecordProperty("resident_growth_kib", std::to_string(growth / 1024));

    EXPECT_EQ(kRequests, tally.played + tally.refusedNames + tally.failedPlays + tally.failedReads);
    if (kMemoryIsMeasurable) {
        EXPECT_LT(growth, kAllowedGrowth);
    }
    EXPECT_TRUE(host.Clean()) << host.Report();
}

} // namespace
} // namespace vhost::e2e
