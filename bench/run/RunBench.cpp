// What one whole run request costs: a "Do It" with Set and Effect sent to the
// Capture plug-in of the built module through PluginMain (suites, fitness
// tests, stored choice, all 16 stored Sets restored and read, the Effect's
// events played as one history state, the choice stored and handed back),
// on a host whose layer events do no pixel work. Beside it the part of that
// spent loading the Sets: LoadPluginSets in-process with the same host.
//
// Each iteration is timed on its own; the counters give the median and the
// 90th percentile in microseconds.
//
// The module stores its choice per user after every run. The registry
// stand-in syncs each write to disk, which the per-user store it stands in for
// does not do on every write, so the settings go to a memory file system
// (/dev/shm) when there is one; VLH_BENCH_SETTINGS names another folder to
// measure with.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "catalogue/Catalogue.h"
#include "host/core/Host.h"
#include "host/loader/ResourceRegistration.h"
#include "hostapi/FourCharCode.h"
#include "hostapi/HostSuites.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kCaptureMenu = "Vellicor Capture Honer...";
constexpr const char* kCaptureName = "Vellicor Capture Honer";
constexpr const char* kSet = "Digital Camera Honers";
constexpr const char* kEffect = "8 to 16 MP, Medium Edges";
// The host keeps a log of every event; it is emptied this often.
constexpr int kLogRounds = 256;

fs::path SettingsParent() {
    if (const char* chosen = std::getenv("VLH_BENCH_SETTINGS"); chosen != nullptr && *chosen != '\0') {
        return chosen;
    }
    std::error_code error;
    return fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// One host for the whole program, with the module's plug-ins registered from
// its resources, an 8-bit RGB document and a private settings folder.
class BenchHost {
public:
    BenchHost() {
        std::string pattern = (SettingsParent() / "vellicor-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("no settings folder in " + SettingsParent().string());
        }
        settings_ = pattern;
        setenv("XDG_CONFIG_HOME", settings_.c_str(), 1);
        std::string error;
        if (vhost::RegisterModuleFromResources(host_, VLH_HONER_PATH, error).empty()) {
            throw std::runtime_error("the module is refused: " + error);
        }
        capture_ = host_.FindPlugin(kCaptureMenu);
        if (capture_ == nullptr) {
            throw std::runtime_error("the module has no Capture plug-in");
        }
        vhost::Document document;
        document.width = 3000;
        document.height = 2000;
        document.resolution = 300;
        host_.OpenDocument(document);
        request_.playInfo = plugInDialogDontDisplay;
        request_.descriptor.emplace();
        request_.descriptor->Put(vlh::FourCC("VlSt"), vhost::Value::String(kSet));
        request_.descriptor->Put(vlh::FourCC("VlAc"), vhost::Value::String(kEffect));
    }
    ~BenchHost() {
        std::error_code ignored;
        fs::remove_all(settings_, ignored);
    }
    BenchHost(const BenchHost&) = delete;
    BenchHost& operator=(const BenchHost&) = delete;

    vhost::Host& Host() { return host_; }
    vhost::DoItResult Run() { return host_.DoIt(*capture_, request_); }
    const std::string& Settings() const { return settings_; }

    // Empties what the host keeps of earlier runs.
    void ForgetRuns() {
        host_.ActiveDocument()->history.clear();
        host_.Events().Clear();
        host_.Calls().Clear();
    }

private:
    vhost::Host host_;
    vhost::PluginRecord* capture_ = nullptr;
    vhost::DoItRequest request_;
    std::string settings_;
};

BenchHost& Bench() {
    static BenchHost bench;
    return bench;
}

// The module's suites in this process, acquired from the same host for as
// long as it lives (the in-process catalogue reaches the host through them).
class InProcessSuites {
public:
    explicit InProcessSuites(vhost::Host& host) {
        vlh::gHost = vlh::HostSuites{};
        vlh::gHost.basic = host.BasicSuite();
        ok_ = vlh::AcquireHostSuites();
    }
    ~InProcessSuites() {
        vlh::ReleaseHostSuites();
        vlh::gHost = vlh::HostSuites{};
    }
    InProcessSuites(const InProcessSuites&) = delete;
    InProcessSuites& operator=(const InProcessSuites&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
};

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0;
    }
    const size_t at = std::min(values.size() - 1, size_t(fraction * double(values.size())));
    std::nth_element(values.begin(), values.begin() + long(at), values.end());
    return values[at];
}

void SetPercentiles(benchmark::State& state, const std::vector<double>& micros) {
    state.counters["median_us"] = Percentile(micros, 0.5);
    state.counters["p90_us"] = Percentile(micros, 0.9);
}

template <typename Work>
double Microseconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

void WholeRun(benchmark::State& state) {
    BenchHost& bench = Bench();
    std::vector<double> micros;
    int round = 0;
    for (auto _ : state) {
        vhost::DoItResult result;
        micros.push_back(Microseconds([&] { result = bench.Run(); }));
        if (result.result != 0) {
            state.SkipWithError("the run failed");
            break;
        }
        if (++round == kLogRounds) {
            bench.ForgetRuns();
            round = 0;
        }
    }
    if (bench.Host().ActiveDocument()->history.empty() && round != 0) {
        state.SkipWithError("the run made no history state");
    }
    if (!bench.Host().Clean()) {
        state.SkipWithError("the host is not clean after the runs");
    }
    state.SetLabel(std::string(kSet) + " / " + kEffect + ", settings in " + bench.Settings());
    SetPercentiles(state, micros);
}

void LoadPluginSets(benchmark::State& state) {
    BenchHost& bench = Bench();
    std::vector<double> micros;
    size_t sets = 0;
    {
        InProcessSuites suites(bench.Host());
        if (!suites.Ok()) {
            state.SkipWithError("the host's suites cannot be acquired");
            return;
        }
        for (auto _ : state) {
            vlh::RunContext run;
            std::strncpy(run.pluginName, kCaptureName, sizeof run.pluginName - 1);
            bool loaded = false;
            micros.push_back(Microseconds([&] { loaded = vlh::LoadPluginSets(run); }));
            if (!loaded) {
                state.SkipWithError("the plug-in offers no Sets");
                break;
            }
            sets = run.sets.size();
            benchmark::DoNotOptimize(run.sets.data());
        }
    }
    if (!bench.Host().Clean()) {
        state.SkipWithError("the host is not clean after loading");
    }
    state.counters["sets"] = double(sets);
    SetPercentiles(state, micros);
}

BENCHMARK(WholeRun)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(LoadPluginSets)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
