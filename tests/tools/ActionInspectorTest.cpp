// The inspector's reading: raw and stored files through the module's reader,
// the printed tree, and the one line of a file that does not load.
#include <gtest/gtest.h>

#include <sstream>

#include "actionsets/ActionSet.h"
#include "tools/actionwriter/ActionInspector.h"
#include "tools/actionwriter/ActionWriter.h"

namespace vtools {
namespace {

SetModel SampleSet() {
    DescriptorModel layer = DescriptorModel::Of(
        IdField::Code("Lyr "),
        {{IdField::Code("Md  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Ovrl"))}});
    layer.className = UnicodeText::Latin1("Layer");
    DescriptorModel set = DescriptorModel::Of(
        IdField::Code("null"),
        {{IdField::Code("null"),
          ValueModel::Reference(
              {FormModel::Enum(IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt")),
               FormModel::Name(IdField::Code("Lyr "), UnicodeText::Latin1("Back \"one\"")),
               FormModel::Index(IdField::Code("Chnl"), 3), FormModel::Class(IdField::Code("Dcmn")),
               FormModel::Property(IdField::Code("Prpr"), IdField::String("colorSettings"))})},
         {IdField::Code("T   "), ValueModel::Object(layer)},
         {IdField::String("amount"), ValueModel::Double(0.25)},
         {IdField::Code("Thsh"), ValueModel::Integer(-3)},
         {IdField::Code("On  "), ValueModel::Boolean(true)},
         {IdField::Code("Nm  "), ValueModel::Text(UnicodeText::Latin1("caf\xE9"))},
         {IdField::Code("Type"), ValueModel::Class(IdField::Code("Lyr "), UnicodeText::Latin1("Layer"))},
         {IdField::Code("Opct"), ValueModel::UnitDouble("#Prc", 50)},
         {IdField::Code("Als "), ValueModel::Alias({1, 2, 3})},
         {IdField::Code("Lst "),
          ValueModel::List({ValueModel::Integer(1), ValueModel::Text(UnicodeText::Latin1("x"))})}});
    EventModel play = EventModel::Named("set", set);
    play.displayName = ByteText::Of("Set");
    play.withDialog = 1;
    EventModel off = EventModel::Named("invert");
    off.enabled = 0;
    off.dialogOptions = 2;
    EffectModel first = EffectModel::Named("Soft", {play, off});
    first.functionKey = 4;
    first.shift = 1;
    first.colour = 2;
    first.expanded = 1;
    return SetModel::Named("Basic.atn", {first, EffectModel::Named("Empty")});
}

const char* const kSampleTree =
    "Set \"Basic\": expanded no, 2 Effects\n"
    "  Effect \"Soft\": function key 4, shift yes, command no, colour 2, expanded yes, 2 events\n"
    "    Event \"set\" (display \"Set\"): enabled yes, with dialog yes, dialog options 0, expanded no\n"
    "      descriptor of class 'null' (name \"\"), 10 items\n"
    "        'null': obj  5 forms\n"
    "          Enmr class 'Lyr ', 'Ordn' 'Trgt'\n"
    "          name class 'Lyr ', name \"Back \\\"one\\\"\"\n"
    "          indx class 'Chnl', index 3\n"
    "          Clss class 'Dcmn'\n"
    "          prop class 'Prpr', property \"colorSettings\"\n"
    "        'T   ': Objc object\n"
    "          descriptor of class 'Lyr ' (name \"Layer\"), 1 item\n"
    "            'Md  ': enum 'BlnM' 'Ovrl'\n"
    "        \"amount\": doub 0.25\n"
    "        'Thsh': long -3\n"
    "        'On  ': bool true\n"
    "        'Nm  ': TEXT \"caf\\xe9\"\n"
    "        'Type': type 'Lyr ' (name \"Layer\")\n"
    "        'Opct': UntF '#Prc' 50\n"
    "        'Als ': alis 3 bytes of alias data\n"
    "        'Lst ': VlLs 2 elements\n"
    "          [0] long 1\n"
    "          [1] TEXT \"x\"\n"
    "    Event \"invert\" (display \"invert\"): enabled no, with dialog no, dialog options 2, expanded no\n"
    "      no descriptor\n"
    "  Effect \"Empty\": function key 0, shift no, command no, colour 0, expanded no, 0 events\n";

std::pair<int, std::string> Inspect(const Bytes& bytes) {
    std::ostringstream out;
    const int status = InspectActionFile(bytes, out);
    return {status, out.str()};
}

TEST(DetectActionFileForm, RawFilesStartWithTheVersionsHighByte) {
    const Bytes raw = SerialiseSet(SampleSet());
    const Bytes stored = RawToStored(raw);
    EXPECT_EQ(DetectActionFileForm(raw), ActionFileForm::Raw);
    EXPECT_EQ(DetectActionFileForm(stored), ActionFileForm::Stored);
    EXPECT_EQ(stored[0], 0x78 ^ 0x5B); // the zlib header byte, scrambled with the seed
    EXPECT_EQ(DetectActionFileForm(Bytes{}), ActionFileForm::Stored);
}

TEST(InspectActionFile, PrintsTheSameTreeForRawAndStoredFiles) {
    const Bytes raw = SerialiseSet(SampleSet());
    const auto [rawStatus, rawText] = Inspect(raw);
    EXPECT_EQ(rawStatus, 0);
    EXPECT_EQ(rawText, kSampleTree);
    const auto [storedStatus, storedText] = Inspect(RawToStored(raw));
    EXPECT_EQ(storedStatus, 0);
    EXPECT_EQ(storedText, kSampleTree);
}

TEST(InspectActionFile, NamesBytesLeftAfterARawSet) {
    Bytes raw = SerialiseSet(SetModel::Named("S"));
    raw.insert(raw.end(), {9, 9, 9});
    EXPECT_EQ(Inspect(raw), std::make_pair(0, std::string("Set \"S\": expanded no, 0 Effects\n"
                                                          "3 bytes after the Set were not read\n")));
}

TEST(InspectActionFile, AFileThatDoesNotLoadGivesOneLineWithTheOffset) {
    SetModel old = SampleSet();
    old.version = 15;
    EXPECT_EQ(Inspect(SerialiseSet(old)),
              std::make_pair(1, std::string("version 15 is not 16 at byte 0 of the file\n")));

    SetModel badKind = SetModel::Named("S", {EffectModel::Named("E", {EventModel::Named("x")})});
    badKind.effects[0].events[0].identifierKind = "l\x01ng";
    // Set: 4 + 8 (name) + 1 + 4; Effect: 2 + 1 + 1 + 2 + 8 (name) + 1 + 4; then 4 flag bytes.
    EXPECT_EQ(Inspect(SerialiseSet(badKind)),
              std::make_pair(
                  1, std::string("event identifier kind 'l\\x01ng' is not 'TEXT' at byte 40 of the file\n")));

    Bytes stored = RawToStored(SerialiseSet(SampleSet()));
    stored[1] ^= 0x01;
    EXPECT_EQ(Inspect(stored),
              std::make_pair(
                  1, std::string("incorrect header check at byte 0 of the inflated data (stored byte 2)\n")));

    EXPECT_EQ(Inspect(Bytes{}), std::make_pair(1, std::string("the file is empty\n")));
}

TEST(FormatActionSet, PrintsALoadedSet) {
    const Bytes stored = WriteStoredSet(SampleSet());
    vlh::ActionSet set;
    ASSERT_TRUE(vlh::LoadActionSet(set, stored.data(), stored.size()));
    EXPECT_EQ(FormatActionSet(set) + "\n", kSampleTree);
}

} // namespace
} // namespace vtools
