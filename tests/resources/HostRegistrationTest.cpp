// The real module in the real host, registered from its resources: four
// plug-ins under their menu names; a damaged module refused before it is
// loaded; a plug-in not called on an image mode it does not accept, and
// called on RGB of either depth. Every test ends with the host clean.
#include "ModuleFiles.h"

#include "host/core/Host.h"
#include "host/loader/ResourceRegistration.h"
#include "tests/support/EndToEnd.h"
#include "tools/resgen/ModuleData.h"
#include "tools/resgen/ModuleResources.h"
#include "tools/resgen/SectionImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vlhtest {
namespace {

using vhost::ColourMode;
using vhost::Document;
using vhost::DoItResult;
using vhost::PluginRecord;

const char* const kMenuNames[] = {"Vellicor Capture Honer...", "Vellicor Creative Honer...",
                                  "Vellicor Output Honer...", "Vellicor Capture Honer Expert..."};

class RegistrationInHost : public vhost::e2e::EndToEndTest {
protected:
    std::vector<PluginRecord*> Register(const std::string& path) {
        std::string error;
        std::vector<PluginRecord*> records = vhost::RegisterModuleFromResources(host, path, error);
        lastError = error;
        return records;
    }

    PluginRecord& Output() {
        std::vector<PluginRecord*> records = Register(vhost::e2e::HonerPath());
        EXPECT_EQ(records.size(), 4u) << lastError;
        PluginRecord* output = host.FindPlugin("Vellicor Output Honer...");
        if (output == nullptr) {
            throw std::runtime_error("Output plug-in not registered: " + lastError);
        }
        return *output;
    }

    DoItResult DoItOn(PluginRecord& plugin, ColourMode mode, int32_t depth) {
        Document doc;
        doc.mode = mode;
        doc.depth = depth;
        doc.width = 64;
        doc.height = 48;
        host.OpenDocument(doc);
        return host.DoIt(plugin, {});
    }

    std::string lastError;
};

TEST_F(RegistrationInHost, RegistersTheFourPluginsUnderTheirMenuNames) {
    std::vector<PluginRecord*> records = Register(vhost::e2e::HonerPath());
    ASSERT_EQ(records.size(), std::size(kMenuNames)) << lastError;
    for (size_t i = 0; i < records.size(); ++i) {
        PluginRecord& r = *records[i];
        SCOPED_TRACE(kMenuNames[i]);
        EXPECT_EQ(r.name, kMenuNames[i]);
        EXPECT_EQ(host.FindPlugin(kMenuNames[i]), &r);
        EXPECT_NE(r.entry, nullptr);
        ASSERT_TRUE(r.description);
        EXPECT_EQ(r.description->menuName, r.name);
        EXPECT_EQ(r.ReportedName(), r.description->NameWithoutEllipsis());
        EXPECT_EQ(r.description->terminologyID, 16000 + i);
    }
}

// A bare file name means the file in the current folder, not a library
// searched for on the library path.
TEST_F(RegistrationInHost, BareFileNameInTheCurrentFolderRegisters) {
    const std::filesystem::path honer = vhost::e2e::HonerPath();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(honer.parent_path());
    std::vector<PluginRecord*> records = Register(honer.filename().string());
    std::filesystem::current_path(previous);
    ASSERT_EQ(records.size(), 4u) << lastError;
    EXPECT_EQ(records[0]->modulePath, honer.string());
}

TEST_F(RegistrationInHost, DamagedModuleIsRefusedAndNothingIsRegistered) {
    TemporaryDirectory dir;
    std::string copy = dir.Path() + "/Honer.8li";
    {
        std::ifstream in(vhost::e2e::HonerPath(), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The 'kind' property of the first property list, as it lies in the file.
        const std::string code("MIB8dnik\0\0\0\0\4\0\0\0ZIL8", 20);
        auto at = std::search(bytes.begin(), bytes.end(), code.begin(), code.end());
        ASSERT_NE(at, bytes.end());
        std::copy_n("MFB8", 4, at + 16);
        std::ofstream(copy, std::ios::binary).write(bytes.data(), long(bytes.size()));
    }
    EXPECT_TRUE(Register(copy).empty());
    EXPECT_NE(lastError.find(copy + ": property list 16000: kind '8BFM' is not an automation plug-in"),
              std::string::npos)
        << lastError;
    for (const char* name : kMenuNames) {
        EXPECT_EQ(host.FindPlugin(name), nullptr) << name;
    }
}

// A small ELF file of the system's (not a module) carrying the given section.
std::string FileWithSection(const TemporaryDirectory& dir, const std::vector<uint8_t>& section) {
    std::string bin = dir.Path() + "/section.bin";
    std::ofstream(bin, std::ios::binary)
        .write(reinterpret_cast<const char*>(section.data()), long(section.size()));
    std::string file = dir.Path() + "/carrier.8li";
    RunCommand("objcopy --add-section .vlh_resources='" + bin + "' /bin/true '" + file + "'");
    return file;
}

std::vector<vtools::Resource> HonerResources() {
    return vtools::BuildModuleResources(vtools::HonerModule(), vtools::EntryPointProperty::X86);
}

TEST_F(RegistrationInHost, PluginsOfOneModuleMustShareTheirEntryPoint) {
    std::vector<vtools::Resource> resources = HonerResources();
    for (vtools::Resource& r : resources) {
        if (r.type == "PIPL" && r.id == 16002) {
            auto at = std::search(r.bytes.begin(), r.bytes.end(), std::begin("PluginMain"),
                                  std::end("PluginMain") - 1);
            ASSERT_NE(at, r.bytes.end());
            at[9] = 'X';
        }
    }
    TemporaryDirectory dir;
    std::string file = FileWithSection(dir, vtools::BuildSectionImage(resources));
    EXPECT_TRUE(Register(file).empty());
    EXPECT_NE(lastError.find("\"Vellicor Output Honer...\" names entry point PluginMaiX"), std::string::npos)
        << lastError;
    EXPECT_EQ(host.FindPlugin("Vellicor Capture Honer..."), nullptr);
}

// Valid resources in a file the host cannot load as a module: refused by the
// loader after the resources were read, and nothing is registered.
TEST_F(RegistrationInHost, UnloadableFileWithValidResourcesIsRefused) {
    TemporaryDirectory dir;
    std::string file = FileWithSection(dir, vtools::BuildSectionImage(HonerResources()));
    EXPECT_TRUE(Register(file).empty());
    EXPECT_FALSE(lastError.empty());
    EXPECT_EQ(host.FindPlugin("Vellicor Capture Honer..."), nullptr);
}

struct Refused {
    ColourMode mode;
    int32_t depth;
    const char* named;
};

TEST_F(RegistrationInHost, PluginIsNotCalledOnAModeItDoesNotAccept) {
    PluginRecord& output = Output();
    const Refused cases[] = {
        {ColourMode::Grayscale, 8, "the image is Grayscale (GrayScaleMode)"},
        {ColourMode::Grayscale, 16, "(Gray16Mode)"},
        {ColourMode::CMYK, 8, "(CMYKMode)"},
        {ColourMode::Lab, 16, "(Lab48Mode)"},
        {ColourMode::Indexed, 8, "(IndexedMode)"},
    };
    for (const Refused& c : cases) {
        DoItResult r = DoItOn(output, c.mode, c.depth);
        EXPECT_EQ(r.result, vhost::kRequestRefused) << c.named;
        ASSERT_TRUE(r.refusal) << c.named;
        EXPECT_NE(r.refusal->find(c.named), std::string::npos) << *r.refusal;
        EXPECT_NE(
            r.refusal->find("it accepts RGB Color (RGBMode) or RGB Color, 16 bits per channel (RGB48Mode)"),
            std::string::npos)
            << *r.refusal;
    }
    host.CloseDocument();
    DoItResult none = host.DoIt(output, {});
    EXPECT_EQ(none.result, vhost::kRequestRefused);
    ASSERT_TRUE(none.refusal);
    EXPECT_NE(none.refusal->find("no image is open"), std::string::npos) << *none.refusal;
    // The module was never called: no suite routine ran.
    EXPECT_EQ(host.Calls().Total(), 0u);
}

TEST_F(RegistrationInHost, PluginIsCalledOnRgbOfEitherDepth) {
    PluginRecord& output = Output();
    for (int32_t depth : {8, 16}) {
        uint64_t before = host.Calls().Total();
        DoItResult r = DoItOn(output, ColourMode::RGB, depth);
        EXPECT_FALSE(r.refusal) << depth << ": " << r.refusal.value_or("");
        EXPECT_NE(r.result, vhost::kRequestRefused) << depth;
        EXPECT_GT(host.Calls().Count("Basic.AcquireSuite"), 0u) << depth;
        EXPECT_GT(host.Calls().Total(), before) << depth << ": the module was not called";
    }
}

TEST(ImageModeOfDocument, ColourModeAndDepthGiveTheImageMode) {
    struct Case {
        ColourMode mode;
        int32_t depth;
        vhost::ImageMode expected;
    };
    const Case cases[] = {
        {ColourMode::RGB, 8, vhost::ImageMode::RGB},
        {ColourMode::RGB, 16, vhost::ImageMode::RGB48},
        {ColourMode::Grayscale, 8, vhost::ImageMode::Grayscale},
        {ColourMode::Grayscale, 16, vhost::ImageMode::Gray16},
        {ColourMode::CMYK, 16, vhost::ImageMode::CMYK64},
        {ColourMode::Lab, 8, vhost::ImageMode::Lab},
        {ColourMode::Multichannel, 16, vhost::ImageMode::DeepMultichannel},
        {ColourMode::Duotone, 16, vhost::ImageMode::Duotone16},
        {ColourMode::Bitmap, 8, vhost::ImageMode::Bitmap},
        {ColourMode::Indexed, 8, vhost::ImageMode::Indexed},
    };
    for (const Case& c : cases) {
        Document doc;
        doc.mode = c.mode;
        doc.depth = c.depth;
        EXPECT_EQ(vhost::ImageModeOf(doc), c.expected) << int(c.mode) << " at " << c.depth;
    }
}

} // namespace
} // namespace vlhtest
