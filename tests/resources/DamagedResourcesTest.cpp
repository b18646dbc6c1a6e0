// Damaged resource sections are refused with a message and never crash the
// host's reader: each case damages the table, a resource or the packed
// section, and names a fragment of the refusal it must produce.
#include "ByteWalker.h"

#include "host/resources/ModulePlugins.h"
#include "host/resources/ResourceError.h"
#include "tools/resgen/ModuleData.h"
#include "tools/resgen/ModuleResources.h"
#include "tools/resgen/SectionImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vlhtest {
namespace {

using Bytes = std::vector<uint8_t>;

void SetU16(Bytes& b, size_t at, uint16_t v) {
    b.at(at) = uint8_t(v);
    b.at(at + 1) = uint8_t(v >> 8);
}

void SetU32(Bytes& b, size_t at, uint32_t v) {
    SetU16(b, at, uint16_t(v));
    SetU16(b, at + 2, uint16_t(v >> 16));
}

// Where one property of a property list lies.
struct PropertySpan {
    size_t header;
    size_t data;
    size_t length;
};

// rawKey as the bytes appear in the file, e.g. "eman" for 'name'.
PropertySpan FindProperty(const Bytes& list, const std::string& rawKey) {
    ByteWalker w(list);
    w.U16();
    w.U32();
    uint32_t count = w.U32();
    for (uint32_t i = 0; i < count; ++i) {
        size_t header = w.Pos();
        w.Raw(4);
        std::string key = w.Raw(4);
        w.U32();
        uint32_t length = w.U32();
        if (key == rawKey) {
            return {header, w.Pos(), length};
        }
        w.Raw(length);
    }
    throw std::runtime_error("no property " + rawKey);
}

void RemoveProperty(Bytes& list, const std::string& rawKey) {
    PropertySpan p = FindProperty(list, rawKey);
    list.erase(list.begin() + long(p.header), list.begin() + long(p.data + p.length));
    ByteWalker w(list, 6);
    SetU32(list, 6, w.U32() - 1);
}

// Replaces the first occurrence of four bytes.
void ReplaceCode(Bytes& b, const std::string& from, const std::string& to) {
    auto found = std::search(b.begin(), b.end(), from.begin(), from.end());
    if (found == b.end()) {
        throw std::runtime_error("no " + from);
    }
    std::copy(to.begin(), to.end(), found);
}

vtools::Resource& Find(std::vector<vtools::Resource>& resources, const std::string& type, uint16_t id) {
    for (vtools::Resource& r : resources) {
        if (r.type == type && r.id == id) {
            return r;
        }
    }
    throw std::runtime_error("no " + type);
}

Bytes& List(std::vector<vtools::Resource>& r, uint16_t id = 16001) {
    return Find(r, "PIPL", id).bytes;
}

Bytes& Terms(std::vector<vtools::Resource>& r, uint16_t id = 16001) {
    return Find(r, "AETE", id).bytes;
}

// Directory entry i: type at +0, ID +4, language +6, offset +8, size +12.
size_t EntryField(size_t entry, size_t field) {
    return 8 + 16 * entry + field;
}

struct Damage {
    const char* name;
    std::function<void(vtools::ModuleData&)> table;
    std::function<void(std::vector<vtools::Resource>&)> resources;
    std::function<void(Bytes&)> section;
    const char* refusal;
};

Bytes BuildDamaged(const Damage& d) {
    vtools::ModuleData module = vtools::HonerModule();
    if (d.table) {
        d.table(module);
    }
    std::vector<vtools::Resource> resources =
        vtools::BuildModuleResources(module, vtools::EntryPointProperty::X86);
    if (d.resources) {
        d.resources(resources);
    }
    Bytes section = vtools::BuildSectionImage(resources);
    if (d.section) {
        d.section(section);
    }
    return section;
}

using Table = std::function<void(vtools::ModuleData&)>;
using Resources = std::function<void(std::vector<vtools::Resource>&)>;
using Section = std::function<void(Bytes&)>;

const Damage kDamages[] = {
    // The section and its directory.
    {"empty section", {}, {}, [](Bytes& s) { s.clear(); }, "truncated: magic"},
    {"directory cut short",
     {},
     {},
     [](Bytes& s) { s.resize(8 + 16 * 3); },
     "directory of 9 entries needs 152"},
    {"wrong magic", {}, {}, [](Bytes& s) { s[0] = 'X'; }, "magic"},
    {"unknown layout", {}, {}, [](Bytes& s) { SetU16(s, 4, 2); }, "directory layout 2 is not known"},
    {"entry count too large", {}, {}, [](Bytes& s) { SetU16(s, 6, 400); }, "directory of 400 entries"},
    {"no entries", {}, {}, [](Bytes& s) { SetU16(s, 6, 0); }, "holds no plug-in property list"},
    {"offset past the end",
     {},
     {},
     [](Bytes& s) { SetU32(s, EntryField(0, 8), uint32_t(s.size() + 4)); },
     "past the section's"},
    {"offset inside the directory",
     {},
     {},
     [](Bytes& s) { SetU32(s, EntryField(0, 8), 4); },
     "inside the directory"},
    {"size past the end",
     {},
     {},
     [](Bytes& s) { SetU32(s, EntryField(2, 12), uint32_t(s.size())); },
     "runs past the section's"},
    {"size near 4 GiB",
     {},
     {},
     [](Bytes& s) { SetU32(s, EntryField(2, 12), 0xFFFFFFF0u); },
     "runs past the section's"},
    {"type not text", {}, {}, [](Bytes& s) { s[EntryField(1, 0)] = 0x01; }, "type that is not text"},
    {"duplicate entry",
     {},
     {},
     [](Bytes& s) { std::copy_n(s.begin() + 8, 16, s.begin() + 8 + 32); },
     "PIPL 16000 (language 1033) appears twice"},
    {"section cut short", {}, {}, [](Bytes& s) { s.resize(s.size() - 10); }, "VERS 1"},
    // Property list structure.
    {"list prefix",
     {},
     [](auto& r) { SetU16(List(r), 0, 2); },
     {},
     "property list 16001: starts with 2, not 1"},
    {"list version", {}, [](auto& r) { SetU32(List(r), 2, 1); }, {}, "list version 1 is not known"},
    {"count one too many", {}, [](auto& r) { SetU32(List(r), 6, 9); }, {}, "truncated: vendor"},
    {"count one too few",
     {},
     [](auto& r) { SetU32(List(r), 6, 7); },
     {},
     "56 bytes follow the last of its 7 properties"},
    {"negative count",
     {},
     [](auto& r) { SetU32(List(r), 6, 0xFFFFFFFFu); },
     {},
     "property count -1 does not fit"},
    {"huge count", {}, [](auto& r) { SetU32(List(r), 6, 0x10000); }, {}, "property count 65536 does not fit"},
    {"length past the end",
     {},
     [](auto& r) { SetU32(List(r), FindProperty(List(r), "eman").header + 12, 10000); },
     {},
     "truncated: property data"},
    {"negative length",
     {},
     [](auto& r) { SetU32(List(r), FindProperty(List(r), "eman").header + 12, 0xFFFFFFFCu); },
     {},
     "negative length"},
    {"foreign vendor",
     {},
     [](auto& r) { ReplaceCode(List(r), "MIB8edom", "MFB8edom"); },
     {},
     "property 'mode' has vendor '8BFM', not '8BIM'"},
    {"property twice",
     {},
     [](auto& r) { ReplaceCode(List(r), "gtac", "eman"); },
     {},
     "property 'name' appears twice"},
    // Property contents.
    {"not an automation plug-in",
     {},
     [](auto& r) { ReplaceCode(List(r), "ZIL8", "MFB8"); },
     {},
     "kind '8BFM' is not an automation plug-in"},
    {"missing kind", {}, [](auto& r) { RemoveProperty(List(r), "dnik"); }, {}, "has no 'kind' property"},
    {"missing menu name", {}, [](auto& r) { RemoveProperty(List(r), "eman"); }, {}, "has no menu name"},
    {"missing version", {}, [](auto& r) { RemoveProperty(List(r), "srev"); }, {}, "has no interface version"},
    {"missing entry point", {}, [](auto& r) { RemoveProperty(List(r), "68xw"); }, {}, "names no entry point"},
    {"missing terminology link",
     {},
     [](auto& r) { RemoveProperty(List(r), "mtsh"); },
     {},
     "has no terminology link"},
    {"menu name longer than its data",
     {},
     [](auto& r) { List(r)[FindProperty(List(r), "eman").data] = 200; },
     {},
     "property 'name': truncated: text"},
    {"unterminated scope",
     {},
     [](auto& r) {
         PropertySpan p = FindProperty(List(r), "mtsh");
         std::fill_n(List(r).begin() + long(p.data + 14), p.length - 14, 'x');
     },
     {},
     "scope string is not NUL-terminated"},
    {"terminology record version",
     {},
     [](auto& r) { SetU32(List(r), FindProperty(List(r), "mtsh").data, 1); },
     {},
     "version 1 is not known"},
    {"unterminated enable expression",
     {},
     [](auto& r) {
         PropertySpan p = FindProperty(List(r), "lbne");
         List(r)[p.data + p.length - 1] = ' ';
     },
     {},
     "property 'enbl': text is not NUL-terminated"},
    {"interface version 2",
     {},
     [](auto& r) { SetU32(List(r), FindProperty(List(r), "srev").data, 0x20000); },
     {},
     "interface version 2.0 is not 1.x"},
    // Values the table could hold but a host cannot use.
    {"no image mode", [](auto& m) { m.modeFlags = 0; }, {}, {}, "mode flags accept no image mode"},
    {"unfinished enable expression",
     [](auto& m) { m.enableExpression = "in(PSHOP_ImageMode, RGBMode"; },
     {},
     {},
     "expected \",\" or \")\""},
    {"unknown enable expression",
     [](auto& m) { m.enableExpression = "always"; },
     {},
     {},
     "\"always\" is not understood"},
    {"unknown image mode",
     [](auto& m) { m.enableExpression = "in(PSHOP_ImageMode, RGBMode, XYZMode)"; },
     {},
     {},
     "\"XYZMode\" is not an image mode"},
    {"entry point not a name",
     [](auto& m) { m.entryPoint = "Plugin Main"; },
     {},
     {},
     "entry point \"Plugin Main\" is not a function name"},
    {"empty entry point", [](auto& m) { m.entryPoint = ""; }, {}, {}, "is not a function name"},
    {"menu name with a tab",
     [](auto& m) { m.plugins[2].name = "Vellicor\tOutput"; },
     {},
     {},
     "control characters"},
    {"two plug-ins of one name",
     [](auto& m) { m.plugins[3].name = m.plugins[1].name; },
     {},
     {},
     "property lists 16001 and 16003: both name \"Vellicor Creative Honer...\""},
    // Terminologies.
    {"missing terminology",
     {},
     [](auto& r) {
         r.erase(std::find_if(r.begin(), r.end(), [](auto& x) { return x.type == "AETE" && x.id == 16002; }));
     },
     {},
     "terminology 16002 named by 'hstm' is missing"},
    {"terminology cut short", {}, [](auto& r) { Terms(r).pop_back(); }, {}, "terminology 16001: truncated"},
    {"terminology with bytes after it",
     {},
     [](auto& r) { Terms(r).push_back(0); },
     {},
     "1 bytes follow the last suite"},
    {"terminology prefix",
     {},
     [](auto& r) { SetU16(Terms(r), 0, 0); },
     {},
     "terminology 16001: starts with 0"},
    {"two suites declared", {}, [](auto& r) { SetU16(Terms(r), 8, 2); }, {}, "truncated: suite name"},
    {"Set parameter not text",
     {},
     [](auto& r) { ReplaceCode(Terms(r), "TXET", "gnol"); },
     {},
     "parameter 'VlSt' has type 'long', not 'TEXT'"},
    {"no Effect parameter",
     {},
     [](auto& r) { ReplaceCode(Terms(r), "cAlV", "xxxx"); },
     {},
     "declares no parameter 'VlAc'"},
    {"event of another class",
     {},
     [](auto& r) { ReplaceCode(Terms(r), "rClV", "rClX"); },
     {},
     "has no event 'null' of class 'VlCr'"},
};

class DamagedSection : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedSection, IsRefusedWithAMessage) {
    const Damage& d = GetParam();
    Bytes section = BuildDamaged(d);
    try {
        vhost::DescribePlugins(section);
        ADD_FAILURE() << d.name << ": not refused";
    } catch (const vhost::ResourceError& e) {
        EXPECT_NE(std::string(e.what()).find(d.refusal), std::string::npos)
            << d.name << "\n  message: " << e.what() << "\n  expected: " << d.refusal;
    }
}

std::string CaseName(const ::testing::TestParamInfo<Damage>& info) {
    std::string name = info.param.name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedSection, ::testing::ValuesIn(kDamages), CaseName);

// The undamaged section, through the same steps, registers the four plug-ins:
// the refusals above come from the damage alone.
TEST(DamagedSectionBaseline, UndamagedSectionRegistersFourPlugins) {
    EXPECT_EQ(vhost::DescribePlugins(BuildDamaged({"none", {}, {}, {}, ""})).size(), 4u);
}

Bytes ModuleSectionImage() {
    return vtools::BuildSectionImage(
        vtools::BuildModuleResources(vtools::HonerModule(), vtools::EntryPointProperty::X86));
}

// Every prefix of the section is refused: the last resource runs to its end.
TEST(DamagedSectionSweep, EveryTruncationOfTheSectionIsRefused) {
    const Bytes whole = ModuleSectionImage();
    for (size_t size = 0; size < whole.size(); ++size) {
        Bytes cut(whole.begin(), whole.begin() + long(size));
        EXPECT_THROW(vhost::DescribePlugins(cut), vhost::ResourceError) << "size " << size;
    }
}

// Shortening any property list or terminology by any amount in the directory
// is refused, and the message names that resource.
TEST(DamagedSectionSweep, EveryShortenedResourceIsRefusedByName) {
    const Bytes whole = ModuleSectionImage();
    for (size_t entry = 0; entry < 8; ++entry) {
        ByteWalker w(whole, EntryField(entry, 0));
        std::string type = w.Raw(4);
        uint16_t id = w.U16();
        std::string name = (type == "PIPL" ? "property list " : "terminology ") + std::to_string(id);
        ByteWalker sizeField(whole, EntryField(entry, 12));
        uint32_t size = sizeField.U32();
        for (uint32_t shorter = 0; shorter < size; ++shorter) {
            Bytes damaged = whole;
            SetU32(damaged, EntryField(entry, 12), shorter);
            try {
                vhost::DescribePlugins(damaged);
                ADD_FAILURE() << name << " of " << shorter << " bytes was accepted";
            } catch (const vhost::ResourceError& e) {
                EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
            }
        }
    }
}

// Any single byte set to 0x00 or 0xFF either leaves a usable section or is
// refused with a ResourceError; nothing else may happen.
TEST(DamagedSectionSweep, SingleByteDamageNeverEscapesAsAnotherFailure) {
    const Bytes whole = ModuleSectionImage();
    size_t refused = 0;
    for (size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF)}) {
            Bytes damaged = whole;
            damaged[at] = value;
            try {
                std::vector<vhost::PluginDescription> plugins = vhost::DescribePlugins(damaged);
                EXPECT_GE(plugins.size(), 1u);
            } catch (const vhost::ResourceError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0u);
}

} // namespace
} // namespace vlhtest
