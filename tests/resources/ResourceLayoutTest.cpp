// The module's resource section, byte by byte: the directory, each plug-in's
// property list and terminology, and the version record, read back with a
// plain walker and compared with the layout tables. Codes are little-endian
// 32-bit values, so their characters appear reversed ("ZIL8" for '8LIZ').
#include "ByteWalker.h"
#include "ModuleFiles.h"

#include "tools/resgen/ModuleData.h"
#include "tools/resgen/PropertyList.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace vlhtest {
namespace {

struct ExpectedPlugin {
    std::string name;
    uint16_t id;
    uint32_t nameLength; // the counted menu name, padded to 4
    uint32_t hstmLength; // the terminology record, padded to 4
    uint32_t listSize;
    uint32_t terminologySize;
};

const ExpectedPlugin kPlugins[] = {
    {"Vellicor Capture Honer", 16000, 28, 52, 302, 192},
    {"Vellicor Creative Honer", 16001, 28, 52, 302, 194},
    {"Vellicor Output Honer", 16002, 28, 52, 302, 190},
    {"Vellicor Capture Honer Expert", 16003, 36, 60, 318, 206},
};

constexpr uint16_t kEnglishUS = 1033;
const std::string kEnable = "in(PSHOP_ImageMode, RGBMode, RGB48Mode)";

std::string Zeros(size_t n) {
    return std::string(n, '\0');
}

std::string Scope(const ExpectedPlugin& p) {
    return "Corvane Labs " + p.name;
}

struct Entry {
    uint16_t language;
    uint32_t offset;
    uint32_t size;
};

// The directory by (type, ID), after checking its header.
std::map<std::pair<std::string, uint16_t>, Entry> ReadDirectory(const std::vector<uint8_t>& section) {
    ByteWalker w(section);
    EXPECT_EQ(w.Raw(4), "VLHR");
    EXPECT_EQ(w.U16(), 1);
    uint16_t count = w.U16();
    std::map<std::pair<std::string, uint16_t>, Entry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        std::string type = w.Raw(4);
        uint16_t id = w.U16();
        Entry e{w.U16(), w.U32(), w.U32()};
        EXPECT_TRUE(entries.emplace(std::make_pair(type, id), e).second) << type << " " << id;
    }
    return entries;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, const Entry& e) {
    return std::vector<uint8_t>(bytes.begin() + e.offset, bytes.begin() + e.offset + e.size);
}

class ModuleSection : public ::testing::Test {
protected:
    static void SetUpTestSuite() { section_ = new std::vector<uint8_t>(SectionOfFile(ModulePath())); }
    static void TearDownTestSuite() {
        delete section_;
        section_ = nullptr;
    }

    const std::vector<uint8_t>& Section() { return *section_; }
    std::vector<uint8_t> Resource(const std::string& type, uint16_t id) {
        auto entries = ReadDirectory(Section());
        auto found = entries.find({type, id});
        if (found == entries.end()) {
            ADD_FAILURE() << "no " << type << " " << id;
            return {};
        }
        return Slice(Section(), found->second);
    }

    static std::vector<uint8_t>* section_;
};

std::vector<uint8_t>* ModuleSection::section_ = nullptr;

TEST_F(ModuleSection, DirectoryListsEveryResourceInsideTheSection) {
    auto entries = ReadDirectory(Section());
    std::set<std::pair<std::string, uint16_t>> expected{{"VERS", 1}};
    for (const ExpectedPlugin& p : kPlugins) {
        expected.insert({"PIPL", p.id});
        expected.insert({"AETE", p.id});
    }
    std::set<std::pair<std::string, uint16_t>> found;
    const size_t directoryEnd = 8 + 16 * entries.size();
    std::map<uint32_t, uint32_t> spans; // offset -> end
    for (const auto& [key, e] : entries) {
        found.insert(key);
        EXPECT_EQ(e.language, kEnglishUS) << key.first << " " << key.second;
        EXPECT_EQ(e.offset % 4, 0u) << key.first << " " << key.second;
        EXPECT_GE(e.offset, directoryEnd);
        EXPECT_LE(size_t(e.offset) + e.size, Section().size());
        spans[e.offset] = e.offset + e.size;
    }
    EXPECT_EQ(found, expected);
    uint32_t previousEnd = 0;
    for (const auto& [offset, end] : spans) {
        EXPECT_GE(offset, previousEnd) << "resources overlap";
        previousEnd = end;
    }
}

struct Property {
    std::string vendor;
    std::string key;
    uint32_t id;
    uint32_t length;
    std::string data;
};

Property NextProperty(ByteWalker& w) {
    Property p;
    p.vendor = w.Raw(4);
    p.key = w.Raw(4);
    p.id = w.U32();
    p.length = w.U32();
    p.data = w.Raw(p.length);
    return p;
}

void ExpectProperty(ByteWalker& w, const std::string& key, uint32_t length, const std::string& data) {
    Property p = NextProperty(w);
    EXPECT_EQ(p.vendor, "MIB8") << key;
    EXPECT_EQ(p.key, key);
    EXPECT_EQ(p.id, 0u) << key;
    EXPECT_EQ(p.length, length) << key;
    EXPECT_EQ(p.length % 4, 0u) << key;
    EXPECT_EQ(p.data, data) << key;
}

// The property list of the Linux module: 8 properties, 'wx86' names the entry point.
void ExpectPropertyList(const std::vector<uint8_t>& bytes, const ExpectedPlugin& p,
                        const std::vector<std::string>& entryKeys) {
    ByteWalker w(bytes);
    EXPECT_EQ(w.U16(), 1);
    EXPECT_EQ(w.U32(), 0u);
    EXPECT_EQ(w.U32(), 7 + entryKeys.size());
    ExpectProperty(w, "dnik", 4, "ZIL8");
    std::string menu = p.name + "...";
    ExpectProperty(w, "eman", p.nameLength, char(menu.size()) + menu + Zeros(p.nameLength - 1 - menu.size()));
    ExpectProperty(w, "gtac", 20,
                   "\x11"
                   "Corvane LabsHoner" +
                       Zeros(2));
    ExpectProperty(w, "srev", 4, std::string("\0\0\1\0", 4));
    for (const std::string& key : entryKeys) {
        ExpectProperty(w, key, 12, "PluginMain" + Zeros(2));
    }
    std::string id = {char(p.id & 0xFF), char(p.id >> 8)};
    std::string terminology = Zeros(4) + "rClV" + "llun" + id + Scope(p);
    ExpectProperty(w, "mtsh", p.hstmLength, terminology + Zeros(p.hstmLength - terminology.size()));
    ExpectProperty(w, "edom", 4, std::string("\x10\0\0\0", 4));
    ExpectProperty(w, "lbne", 40, kEnable + Zeros(1));
    EXPECT_TRUE(w.AtEnd()) << w.Left() << " bytes left";
}

TEST_F(ModuleSection, PropertyListsFollowTheLayoutFieldByField) {
    for (const ExpectedPlugin& p : kPlugins) {
        SCOPED_TRACE(p.name);
        std::vector<uint8_t> bytes = Resource("PIPL", p.id);
        EXPECT_EQ(bytes.size(), p.listSize);
        ExpectPropertyList(bytes, p, {"68xw"});
    }
}

TEST_F(ModuleSection, CodesAppearReversedInTheFile) {
    std::vector<uint8_t> bytes = Resource("PIPL", 16000);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("ZIL8"), std::string::npos);
    EXPECT_NE(text.find("MIB8dnik"), std::string::npos);
    EXPECT_EQ(text.find("8LIZ"), std::string::npos);
    EXPECT_EQ(text.find("8BIM"), std::string::npos);
}

void ExpectTerminology(const std::vector<uint8_t>& bytes, const ExpectedPlugin& p) {
    ByteWalker w(bytes);
    // Header.
    EXPECT_EQ(w.U16(), 1);
    EXPECT_EQ(w.U8(), 1);
    EXPECT_EQ(w.U8(), 0);
    EXPECT_EQ(w.U16(), 0); // language
    EXPECT_EQ(w.U16(), 0); // script
    EXPECT_EQ(w.U16(), 1); // suites
    // Suite.
    EXPECT_EQ(w.Counted(), "Corvane Labs");
    EXPECT_EQ(w.Counted(), p.name);
    EXPECT_EQ(w.Raw(4), "LvrC");
    EXPECT_EQ(w.U16(), 1); // level
    EXPECT_EQ(w.U16(), 1); // version
    EXPECT_EQ(w.U16(), 1); // events
    // Event.
    EXPECT_EQ(w.Counted(), Scope(p));
    EXPECT_EQ(w.Counted(), "Vellicor automation plug in");
    EXPECT_EQ(w.Raw(4), "rClV");
    EXPECT_EQ(w.Raw(4), "llun");
    EXPECT_EQ(w.Raw(4), "llun"); // reply type
    EXPECT_EQ(w.Counted(), "");
    EXPECT_EQ(w.U16(), 0); // reply flags
    EXPECT_EQ(w.Raw(4), "RmI#");
    EXPECT_EQ(w.Counted(), "");
    EXPECT_EQ(w.U16(), 0xB000);
    EXPECT_EQ(w.U16(), 2); // parameters
    EXPECT_EQ(w.Counted(), "Set");
    EXPECT_EQ(w.Raw(4), "tSlV");
    EXPECT_EQ(w.Raw(4), "TXET");
    EXPECT_EQ(w.Counted(), "Set");
    EXPECT_EQ(w.U16(), 0);
    EXPECT_EQ(w.Counted(), "Effect");
    EXPECT_EQ(w.Raw(4), "cAlV");
    EXPECT_EQ(w.Raw(4), "TXET");
    EXPECT_EQ(w.Counted(), "Effect");
    EXPECT_EQ(w.U16(), 0);
    // Classes, comparison operators, enumerations.
    EXPECT_EQ(w.U16(), 0);
    EXPECT_EQ(w.U16(), 0);
    EXPECT_EQ(w.U16(), 0);
    EXPECT_TRUE(w.AtEnd()) << w.Left() << " bytes left";
}

TEST_F(ModuleSection, TerminologiesFollowTheLayoutFieldByField) {
    for (const ExpectedPlugin& p : kPlugins) {
        SCOPED_TRACE(p.name);
        std::vector<uint8_t> bytes = Resource("AETE", p.id);
        EXPECT_EQ(bytes.size(), p.terminologySize);
        ExpectTerminology(bytes, p);
    }
}

// One block of the version record: a length, a value length, a type, a
// UTF-16 key, padding to 4, the value and the children, each on a multiple of 4.
struct Block {
    uint16_t length = 0;
    uint16_t valueLength = 0;
    uint16_t type = 0;
    std::string key;
    std::vector<uint8_t> value;
    std::vector<Block> children;
};

Block ReadBlock(const std::vector<uint8_t>& bytes, size_t start) {
    ByteWalker header(bytes, start);
    Block b;
    b.length = header.U16();
    b.valueLength = header.U16();
    b.type = header.U16();
    ByteWalker w(bytes, header.Pos(), start + b.length);
    b.key = w.Wide();
    w.AlignTo4();
    size_t valueBytes = b.type == 1 ? size_t(b.valueLength) * 2 : b.valueLength;
    std::string value = w.Raw(valueBytes);
    b.value.assign(value.begin(), value.end());
    while (!w.AtEnd()) {
        w.AlignTo4();
        b.children.push_back(ReadBlock(bytes, w.Pos()));
        w.Raw(b.children.back().length);
    }
    return b;
}

uint32_t Word(const std::vector<uint8_t>& v, size_t index) {
    ByteWalker w(v, index * 4);
    return w.U32();
}

std::string TextValue(const Block& b) {
    ByteWalker w(b.value);
    std::string text = w.Wide();
    EXPECT_TRUE(w.AtEnd()) << b.key;
    return text;
}

TEST_F(ModuleSection, VersionRecordFollowsTheWindowsLayout) {
    std::vector<uint8_t> bytes = Resource("VERS", 1);
    Block root = ReadBlock(bytes, 0);
    EXPECT_EQ(root.length, bytes.size());
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    EXPECT_EQ(root.type, 0);
    ASSERT_EQ(root.valueLength, 52);
    EXPECT_EQ(Word(root.value, 0), 0xFEEF04BDu); // signature
    EXPECT_EQ(Word(root.value, 1), 0x00010000u); // structure version
    EXPECT_EQ(Word(root.value, 2), 0x00010002u); // file version 1.2
    EXPECT_EQ(Word(root.value, 3), 0x00060000u); //              .6.0
    EXPECT_EQ(Word(root.value, 4), 0x00010002u); // product version
    EXPECT_EQ(Word(root.value, 5), 0x00060000u);
    EXPECT_EQ(Word(root.value, 9), 2u); // dynamic library

    ASSERT_EQ(root.children.size(), 2u);
    const Block& strings = root.children[0];
    EXPECT_EQ(strings.key, "StringFileInfo");
    ASSERT_EQ(strings.children.size(), 1u);
    const Block& table = strings.children[0];
    EXPECT_EQ(table.key, "040904b0");
    std::map<std::string, std::string> texts;
    for (const Block& text : table.children) {
        EXPECT_EQ(text.type, 1) << text.key;
        std::string value = TextValue(text);
        EXPECT_EQ(text.valueLength, value.size() + 1) << text.key;
        texts[text.key] = value;
    }
    std::map<std::string, std::string> expected{
        {"FileVersion", "1.2.6"},
        {"ProductVersion", "1.2.6"},
        {"FileDescription", "Vellicor Honer"},
        {"InternalName", "Vellicor Honer"},
        {"ProductName", "Corvane Labs Vellicor Honer"},
        {"CompanyName", "Corvane Labs, LLC."},
        {"OriginalFilename", "Honer.8li"},
    };
    EXPECT_EQ(texts, expected);

    const Block& vars = root.children[1];
    EXPECT_EQ(vars.key, "VarFileInfo");
    ASSERT_EQ(vars.children.size(), 1u);
    EXPECT_EQ(vars.children[0].key, "Translation");
    EXPECT_EQ(vars.children[0].value, (std::vector<uint8_t>{0x09, 0x04, 0xB0, 0x04}));
}

// The generator's variants for a Windows build name the entry point with
// '8664' alone or with both code properties; everything else stays.
TEST(EntryPointVariants, SixtyFourBitPropertyReplacesOrJoinsTheThirtyTwoBitOne) {
    const vtools::ModuleData& module = vtools::HonerModule();
    const std::pair<vtools::EntryPointProperty, std::vector<std::string>> variants[] = {
        {vtools::EntryPointProperty::X86, {"68xw"}},
        {vtools::EntryPointProperty::X64, {"4668"}},
        {vtools::EntryPointProperty::Both, {"68xw", "4668"}},
    };
    for (const auto& [variant, keys] : variants) {
        for (size_t i = 0; i < std::size(kPlugins); ++i) {
            SCOPED_TRACE(kPlugins[i].name + " " + keys.back());
            ExpectPropertyList(vtools::BuildPropertyList(module, module.plugins.at(i), variant), kPlugins[i],
                               keys);
        }
    }
}

} // namespace
} // namespace vlhtest
