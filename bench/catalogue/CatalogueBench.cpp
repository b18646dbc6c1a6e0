// What loading a plug-in's Sets costs: LoadPluginSets per plug-in (the
// requirement asked of a real in-process host, every stored Set restored
// through the streaming reader, equal Sets merged), beside a bulk inflate of
// the same stored bytes (unscramble into one buffer, one inflate call into a
// large one), which bounds what any reader of these streams could do.
//
// Allocations are counted with a replaced global operator new and reported
// per call next to the time.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include <zlib.h>

#include "catalogue/Catalogue.h"
#include "host/core/Host.h"
#include "hostapi/HostSuites.h"

namespace {

std::atomic<uint64_t> gAllocations{0};
std::atomic<uint64_t> gAllocatedBytes{0};

} // namespace

// Kept out of line so the compiler does not pair the replaced operators'
// malloc and free with each other's callers.
[[gnu::noinline]] static void* CountedAllocate(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    gAllocatedBytes.fetch_add(size, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
[[gnu::noinline]] static void Release(void* p) noexcept {
    std::free(p);
}

void* operator new(std::size_t size) {
    if (void* p = CountedAllocate(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}

namespace {

// zlib allocates through malloc, not operator new: count its calls too so
// both sides of the comparison are counted alike.
voidpf CountedZalloc(voidpf, uInt items, uInt size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    gAllocatedBytes.fetch_add(uint64_t(items) * size, std::memory_order_relaxed);
    return std::calloc(items, size);
}
void CountedZfree(voidpf, voidpf p) {
    std::free(p);
}

// The host the requirement asks, with the module's suites acquired for the
// whole run.
class InProcessHost {
public:
    InProcessHost() {
        vlh::gHost = vlh::HostSuites{};
        vlh::gHost.basic = host_.BasicSuite();
        if (!vlh::AcquireHostSuites()) {
            throw std::runtime_error("the host's suites cannot be acquired");
        }
    }
    ~InProcessHost() { vlh::ReleaseHostSuites(); }

private:
    vhost::Host host_;
};

InProcessHost& Host() {
    static InProcessHost host;
    return host;
}

const vlh::PluginRecord& Record(benchmark::State& state) {
    return vlh::PluginRecords()[size_t(state.range(0))];
}

class AllocationCounter {
public:
    explicit AllocationCounter(benchmark::State& state)
        : state_(state), allocations_(gAllocations.load()), bytes_(gAllocatedBytes.load()) {}
    ~AllocationCounter() {
        const double calls = double(state_.iterations());
        state_.counters["allocs/call"] = double(gAllocations.load() - allocations_) / calls;
        state_.counters["alloc_bytes/call"] = double(gAllocatedBytes.load() - bytes_) / calls;
    }

private:
    benchmark::State& state_;
    uint64_t allocations_;
    uint64_t bytes_;
};

void SetStoredBytes(benchmark::State& state, const vlh::PluginRecord& record) {
    uint64_t stored = 0;
    for (int32_t i = 0; i < record.storedSetCount; ++i) {
        stored += record.storedSets[i].size;
    }
    state.counters["stored_bytes"] = double(stored);
    state.SetLabel(record.name);
}

void LoadPluginSets(benchmark::State& state) {
    Host();
    const vlh::PluginRecord& record = Record(state);
    size_t sets = 0;
    {
        AllocationCounter counter(state);
        for (auto _ : state) {
            vlh::RunContext run;
            std::strncpy(run.pluginName, record.name, sizeof run.pluginName - 1);
            if (!vlh::LoadPluginSets(run)) {
                state.SkipWithError("the plug-in offers no Sets");
                break;
            }
            sets = run.sets.size();
            benchmark::DoNotOptimize(run.sets.data());
        }
    }
    state.counters["sets"] = double(sets);
    SetStoredBytes(state, record);
}

// The module's reading alone, without the requirement asked of the host:
// every stored Set through LoadActionSet, then the merge.
void ReadStoredSets(benchmark::State& state) {
    const vlh::PluginRecord& record = Record(state);
    {
        AllocationCounter counter(state);
        for (auto _ : state) {
            vlh::ActionSetList sets;
            for (int32_t i = 0; i < record.storedSetCount; ++i) {
                auto set = std::make_unique<vlh::ActionSet>();
                if (vlh::LoadActionSet(*set, record.storedSets[i].bytes, record.storedSets[i].size)) {
                    sets.push_back(std::move(set));
                }
            }
            vlh::MergeEqualSets(sets);
            benchmark::DoNotOptimize(sets.data());
        }
    }
    SetStoredBytes(state, record);
}

// Unscrambles each stored Set into one buffer and inflates it with one call
// into a buffer large enough for any of them.
void BulkInflate(benchmark::State& state) {
    const vlh::PluginRecord& record = Record(state);
    std::vector<uint8_t> compressed(64 * 1024);
    std::vector<uint8_t> plain(1024 * 1024);
    uint64_t plainBytes = 0;
    {
        AllocationCounter counter(state);
        for (auto _ : state) {
            plainBytes = 0;
            for (int32_t i = 0; i < record.storedSetCount; ++i) {
                const vlh::StoredSet& stored = record.storedSets[i];
                uint8_t previous = 0x5B;
                for (uint32_t k = 0; k < stored.size; ++k) {
                    compressed[k] = uint8_t(stored.bytes[k] ^ previous ^ uint8_t(k));
                    previous = stored.bytes[k];
                }
                z_stream stream{};
                stream.zalloc = CountedZalloc;
                stream.zfree = CountedZfree;
                stream.next_in = compressed.data();
                stream.avail_in = stored.size;
                stream.next_out = plain.data();
                stream.avail_out = uInt(plain.size());
                if (inflateInit(&stream) != Z_OK || inflate(&stream, Z_FINISH) != Z_STREAM_END) {
                    state.SkipWithError("a stored Set does not inflate");
                }
                plainBytes += stream.total_out;
                inflateEnd(&stream);
                benchmark::DoNotOptimize(plain.data());
            }
        }
    }
    state.counters["plain_bytes"] = double(plainBytes);
    SetStoredBytes(state, record);
}

BENCHMARK(LoadPluginSets)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadStoredSets)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BulkInflate)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
