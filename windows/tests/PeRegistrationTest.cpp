// The host's reading of a Windows module: the plug-ins it registers from the
// PE resources, and the clear refusal of a module whose resources are damaged
// or missing (damage made with the system's own resource updater).
#include "windows/tests/WineSupport.h"

#include "host/resources/ModulePlugins.h"
#include "host/resources/ResourceError.h"
#include "windows/host/PeResources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace vhost::wintest {
namespace {

TEST(PeRegistration, DescribesTheFourPluginsFromThePeResources) {
    const std::vector<PluginDescription> plugins = DescribeModulePlugins(HonerPath());
    const std::vector<std::string> names = {"Vellicor Capture Honer", "Vellicor Creative Honer",
                                            "Vellicor Output Honer", "Vellicor Capture Honer Expert"};
    ASSERT_EQ(names.size(), plugins.size());
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const PluginDescription& p = plugins[i];
        EXPECT_EQ(names[i] + "...", p.menuName);
        EXPECT_EQ(16000 + i, p.resourceID);
        EXPECT_EQ(p.resourceID, p.terminologyID);
        EXPECT_EQ("PluginMain", p.entryPoint);
        EXPECT_EQ("Corvane LabsHoner", p.category);
        EXPECT_EQ("Corvane Labs " + names[i], p.scope);
        EXPECT_EQ("in(PSHOP_ImageMode, RGBMode, RGB48Mode)", p.enableExpression);
        ASSERT_EQ(2u, p.parameters.size());
    }
}

TEST(PeRegistration, ReadsEachResourceInUsEnglishWithItsBytes) {
    const PeResources resources = PeResources::Read(HonerPath(), {"PIPL", "AETE"});
    ASSERT_EQ(8u, resources.Entries().size());
    for (size_t i = 0; i < 8; ++i) {
        const ResourceEntry& e = resources.Entries()[i];
        EXPECT_EQ(i < 4 ? "PIPL" : "AETE", e.type);
        EXPECT_EQ(16000 + i % 4, e.id);
        EXPECT_EQ(kUsEnglish, e.language);
        const std::string file =
            std::string(VLH_WINDOWS_RESOURCE_DIR) + "/" + e.type + "_" + std::to_string(e.id) + ".bin";
        EXPECT_EQ(ReadFileBytes(SystemPath(file)), std::vector<uint8_t>(e.bytes.begin(), e.bytes.end()));
    }
}

// A copy of the module whose resources are changed through the system's
// resource updater, in a folder of its own.
class DamagedModule {
public:
    DamagedModule() : folder_("vellicor damaged module"), path_(folder_.Path() + "Honer.8li") {
        std::filesystem::copy_file(HonerPath(), path_);
    }
    const std::string& Path() const { return path_; }

    // Replaces (or, with no bytes, removes) one US English resource.
    bool Update(const char* type, WORD id, const std::vector<uint8_t>* bytes) {
        return bytes != nullptr ? Write(false, {{type, id, *bytes}}) : Remove(type, id);
    }

    std::vector<uint8_t> Bytes(const char* type, WORD id) const {
        const PeResources resources = PeResources::Read(path_, {type});
        for (const ResourceEntry& e : resources.Entries()) {
            if (e.id == id) {
                return std::vector<uint8_t>(e.bytes.begin(), e.bytes.end());
            }
        }
        return {};
    }

private:
    struct Item {
        std::string type;
        WORD id;
        std::vector<uint8_t> bytes;
    };

    bool Write(bool replaceAll, const std::vector<Item>& items) {
        HANDLE update = BeginUpdateResourceA(path_.c_str(), replaceAll);
        if (update == nullptr) {
            return false;
        }
        bool written = true;
        for (const Item& item : items) {
            written = written && UpdateResourceA(update, item.type.c_str(), MAKEINTRESOURCEA(item.id),
                                                 kUsEnglish, const_cast<uint8_t*>(item.bytes.data()),
                                                 static_cast<DWORD>(item.bytes.size()));
        }
        return EndUpdateResourceA(update, !written) && written;
    }

    // The module written again with every plug-in resource but that one (the
    // system's updater removes single resources unreliably under wine).
    bool Remove(const char* type, WORD id) {
        std::vector<Item> kept;
        const PeResources resources = PeResources::Read(path_, {"PIPL", "AETE"});
        for (const ResourceEntry& e : resources.Entries()) {
            if (e.type != type || e.id != id) {
                kept.push_back({e.type, e.id, std::vector<uint8_t>(e.bytes.begin(), e.bytes.end())});
            }
        }
        return kept.size() + 1 == resources.Entries().size() && Write(true, kept);
    }

    ScratchFolder folder_;
    std::string path_;
};

struct Damage {
    const char* what;
    std::function<bool(DamagedModule&)> apply;
    const char* refusal; // part of the message
};

std::vector<uint8_t> CutShort(std::vector<uint8_t> bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

// The 'kind' property's data is the first property's, at byte 26.
std::vector<uint8_t> WithKind(std::vector<uint8_t> bytes, const char (&kind)[5]) {
    for (int i = 0; i < 4; ++i) {
        bytes[26 + size_t(i)] = static_cast<uint8_t>(kind[3 - i]);
    }
    return bytes;
}

const Damage kDamages[] = {
    {"a property list cut short",
     [](DamagedModule& m) {
         const auto bytes = CutShort(m.Bytes("PIPL", 16001), 40);
         return m.Update("PIPL", 16001, &bytes);
     },
     "property list 16001"},
    {"a property list of another kind of plug-in",
     [](DamagedModule& m) {
         const auto bytes = WithKind(m.Bytes("PIPL", 16000), "8BFM");
         return m.Update("PIPL", 16000, &bytes);
     },
     "is not an automation plug-in"},
    {"a terminology removed", [](DamagedModule& m) { return m.Update("AETE", 16002, nullptr); },
     "terminology 16002 named by 'hstm' is missing"},
    {"a terminology cut short",
     [](DamagedModule& m) {
         const auto bytes = CutShort(m.Bytes("AETE", 16003), 30);
         return m.Update("AETE", 16003, &bytes);
     },
     "terminology 16003"},
    {"every property list removed",
     [](DamagedModule& m) {
         for (WORD id = 16000; id <= 16003; ++id) {
             if (!m.Update("PIPL", id, nullptr)) {
                 return false;
             }
         }
         return true;
     },
     "holds no plug-in property list"},
};

TEST(PeRegistration, RefusesAModuleWithDamagedResourcesSayingWhich) {
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.what);
        DamagedModule module;
        ASSERT_TRUE(damage.apply(module));
        try {
            DescribeModulePlugins(module.Path());
            ADD_FAILURE() << "registered";
        } catch (const ResourceError& e) {
            const std::string message = e.what();
            EXPECT_EQ(0u, message.find(module.Path() + ": ")) << message;
            EXPECT_NE(std::string::npos, message.find(damage.refusal)) << message;
        }
    }
}

TEST(PeRegistration, RefusesAFileThatIsNoModule) {
    ScratchFolder folder("vellicor no module");
    const std::string path = folder.Path() + "Honer.8li";
    std::ofstream(path) << "not a module";
    try {
        DescribeModulePlugins(path);
        ADD_FAILURE() << "registered";
    } catch (const ResourceError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("cannot read its resources")) << e.what();
    }
    EXPECT_THROW(DescribeModulePlugins(folder.Path() + "missing.8li"), ResourceError);
}

} // namespace
} // namespace vhost::wintest
