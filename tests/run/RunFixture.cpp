#include "tests/run/RunFixture.h"

#include "hostapi/FourCharCode.h"
#include "platform/Registry.h"
#include "resources/StoredSets.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <unistd.h>

namespace vhost::e2e {

using vlh::FourCC;

namespace {

std::span<const vlh::StoredSet> StoredSetsOf(const std::string& pluginName) {
    static const std::map<std::string, std::span<const vlh::StoredSet>> byName = {
        {"Vellicor Capture Honer", {vlh::kCaptureStoredSets, size_t(vlh::kCaptureStoredSetCount)}},
        {"Vellicor Creative Honer", {vlh::kCreativeStoredSets, size_t(vlh::kCreativeStoredSetCount)}},
        {"Vellicor Output Honer", {vlh::kOutputStoredSets, size_t(vlh::kOutputStoredSetCount)}},
        {"Vellicor Capture Honer Expert",
         {vlh::kCaptureExpertStoredSets, size_t(vlh::kCaptureExpertStoredSetCount)}},
    };
    return byName.at(pluginName);
}

std::string ReadValue(HKEY key, const char* name) {
    char buffer[512] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

} // namespace

void RunTest::SetUp() {
    EndToEndTest::SetUp();
    Document doc;
    doc.width = 3000;
    doc.height = 2000;
    doc.resolution = 300;
    host.OpenDocument(doc);

    // A stand-in for the system's document opener, first on PATH.
    char pattern[] = "/tmp/vlh-opener-XXXXXX";
    openerDir = mkdtemp(pattern);
    const auto script = openerDir / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" << (openerDir / "opened").string() << "\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    savedPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (openerDir.string() + ":" + savedPath).c_str(), 1);
}

void RunTest::TearDown() {
    setenv("PATH", savedPath.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(openerDir, ignored);
    EndToEndTest::TearDown();
}

Descriptor RunTest::Parameters(const std::string& set, const std::string& effect) {
    Descriptor d;
    d.Put(FourCC("VlSt"), Value::String(set));
    d.Put(FourCC("VlAc"), Value::String(effect));
    return d;
}

DoItResult RunTest::Replay(const std::string& menu, const std::string& set, const std::string& effect) {
    DoItRequest request;
    request.playInfo = plugInDialogDontDisplay;
    request.descriptor = Parameters(set, effect);
    return DoIt(menu, request);
}

std::vector<std::string> RunTest::StoredEventNames(const std::string& pluginName, const std::string& set,
                                                   const std::string& effect) {
    vlh::ActionSetList sets;
    for (const vlh::StoredSet& stored : StoredSetsOf(pluginName)) {
        auto loaded = std::make_unique<vlh::ActionSet>();
        if (vlh::LoadActionSet(*loaded, stored.bytes, stored.size)) {
            sets.push_back(std::move(loaded));
        }
    }
    vlh::MergeEqualSets(sets);
    std::vector<std::string> names;
    const vlh::ActionSet* found = vlh::FindSet(sets, set);
    const vlh::Effect* chosen = found != nullptr ? vlh::FindEffect(*found, effect) : nullptr;
    if (chosen != nullptr) {
        for (const auto& event : chosen->events) {
            if (event->enabled) {
                names.push_back(event->eventName);
            }
        }
    }
    return names;
}

std::vector<std::string> RunTest::Played() const {
    return const_cast<Host&>(host).Events().PlayedEvents();
}

std::pair<std::string, std::string> RememberedChoice(const std::string& pluginName) {
    const std::string path = "Software\\CorvaneLabs\\" + pluginName + "\\Parameters";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return {};
    }
    std::pair<std::string, std::string> pair{ReadValue(key, "Set"), ReadValue(key, "Action")};
    RegCloseKey(key);
    return pair;
}

std::vector<std::string> RunTest::Opened() const {
    std::vector<std::string> lines;
    std::ifstream in(openerDir / "opened");
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace vhost::e2e
