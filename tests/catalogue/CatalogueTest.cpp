// LoadPluginSets over tables of test records: which record a plug-in name
// picks, damaged stored Sets, and the host version the requirement asks for.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "hostapi/FourCharCode.h"
#include "tests/catalogue/HostFixture.h"
#include "tools/actionwriter/ActionWriter.h"

namespace vlh::test {
namespace {

using vtools::Bytes;
using vtools::EffectModel;
using vtools::EventModel;
using vtools::SetModel;

// A stored Set named setName holding one Effect per name, each inverting.
Bytes Blob(const std::string& setName, const std::vector<std::string>& effects) {
    std::vector<EffectModel> models;
    for (const std::string& effect : effects) {
        models.push_back(EffectModel::Named(effect, {EventModel::Named("invert")}));
    }
    return vtools::WriteStoredSet(SetModel::Named(setName, std::move(models)));
}

constexpr const char* kVersion6[] = {"PSVersion", "6", ">="};

// Test records over blobs the test keeps alive.
class Records {
public:
    void Add(const std::string& name, std::vector<Bytes> blobs) {
        Entry& entry = entries_.emplace_back();
        entry.blobs = std::move(blobs);
        std::strncpy(entry.record.name, name.c_str(), sizeof entry.record.name - 1);
        entry.record.requirement = kVersion6;
        entry.record.requirementTokenCount = 3;
    }

    std::vector<PluginRecord> Table() {
        std::vector<PluginRecord> table;
        for (Entry& entry : entries_) {
            entry.stored.clear();
            for (const Bytes& blob : entry.blobs) {
                entry.stored.push_back({blob.data(), uint32_t(blob.size())});
            }
            entry.record.storedSets = entry.stored.data();
            entry.record.storedSetCount = int32_t(entry.stored.size());
            table.push_back(entry.record);
        }
        return table;
    }

private:
    struct Entry {
        PluginRecord record{};
        std::vector<Bytes> blobs;
        std::vector<StoredSet> stored;
    };
    std::vector<Entry> entries_;
};

// "Set: Effect, Effect" per Set, in list order.
std::vector<std::string> Listing(const RunContext& run) {
    std::vector<std::string> lines;
    for (const auto& set : run.sets) {
        std::string line = set->name + ":";
        for (const auto& effect : set->effects) {
            line += " " + effect->name;
        }
        lines.push_back(line);
    }
    return lines;
}

class CatalogueTest : public HostFixture {
protected:
    // The four plug-ins, each with Sets that say whose they are.
    void AddFourPlugins() {
        records.Add("Vellicor Capture Honer",
                    {Blob("Capture 1", {"a", "b", "c"}), Blob("Capture 2", {"d", "e", "f"})});
        records.Add("Vellicor Creative Honer", {Blob("Creative", {"g", "h", "i"})});
        records.Add("Vellicor Output Honer", {Blob("Output", {"j", "k", "l"})});
        records.Add("Vellicor Capture Honer Expert",
                    {Blob("Expert 1", {"m", "n", "o"}), Blob("Expert 2", {"p", "q", "r"})});
    }

    std::vector<std::string> Load(const std::string& pluginName, bool expected) {
        RunContext run;
        std::strncpy(run.pluginName, pluginName.c_str(), sizeof run.pluginName - 1);
        const std::vector<PluginRecord> table = records.Table();
        EXPECT_EQ(expected, LoadPluginSets(run, table)) << pluginName;
        return Listing(run);
    }

    Records records;
};

TEST_F(CatalogueTest, NameSelectsExactlyOneRecordByteForByte) {
    AddFourPlugins();
    struct Case {
        const char* name;
        std::vector<std::string> sets;
    };
    const Case cases[] = {
        // One name begins with the other: each loads only its own record.
        {"Vellicor Capture Honer", {"Capture 1: a b c", "Capture 2: d e f"}},
        {"Vellicor Capture Honer Expert", {"Expert 1: m n o", "Expert 2: p q r"}},
        {"Vellicor Output Honer", {"Output: j k l"}},
        // The menu name with its "..." is not the record's name.
        {"Vellicor Capture Honer...", {}},
        {"Vellicor Output Honer...", {}},
        // Letter case counts.
        {"vellicor capture honer", {}},
        {"VELLICOR OUTPUT HONER", {}},
        // A prefix or an extra blank is another name.
        {"Vellicor Capture", {}},
        {"Vellicor Capture Honer ", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.sets, Load(c.name, !c.sets.empty())) << "plug-in name \"" << c.name << "\"";
    }
}

TEST_F(CatalogueTest, AStoredSetThatFailsToDecodeIsSkipped) {
    const Bytes good = Blob("Middle", {"m"});
    struct Case {
        const char* what;
        Bytes damaged;
    };
    Bytes truncated(good.begin(), good.begin() + long(good.size() / 2));
    Bytes version17 = vtools::RawToStored(vtools::SerialiseSet([] {
        SetModel set = SetModel::Named("Future", {EffectModel::Named("e", {EventModel::Named("invert")})});
        set.version = 17;
        return set;
    }()));
    const Case cases[] = {
        {"truncated", truncated},
        {"version 17", version17},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        Records local;
        local.Add("Vellicor Capture Honer", {Blob("First", {"a"}), c.damaged, Blob("Last", {"z"})});
        records = local;
        EXPECT_EQ((std::vector<std::string>{"First: a", "Last: z"}), Load("Vellicor Capture Honer", true))
            << c.what;
    }
}

TEST_F(CatalogueTest, HostsBeforeVersion6GetNoSets) {
    AddFourPlugins();
    struct Case {
        int32_t major;
        bool offered;
    };
    for (const Case c :
         {Case{5, false}, Case{0, false}, Case{-1, false}, Case{6, true}, Case{7, true}, Case{24, true}}) {
        host.App().versionMajor = c.major;
        for (const char* name : {"Vellicor Capture Honer", "Vellicor Creative Honer", "Vellicor Output Honer",
                                 "Vellicor Capture Honer Expert"}) {
            EXPECT_EQ(c.offered, !Load(name, c.offered).empty())
                << name << " on a host of version " << c.major;
        }
    }
}

} // namespace
} // namespace vlh::test
