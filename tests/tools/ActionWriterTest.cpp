// The action-set writer: the exact bytes of the raw layout, the damage it can
// express, and the stored form (zlib stream, then the scramble).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include <zlib.h>

#include "tools/actionwriter/ActionWriter.h"
#include "tools/actionwriter/PlainWriter.h"

namespace vtools {
namespace {

std::string HexOf(const Bytes& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) {
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    return out;
}

std::string Squeezed(std::string hex) {
    std::erase(hex, ' ');
    return hex;
}

SetModel SmallSet() {
    EventModel event = EventModel::Named(
        "set", DescriptorModel::Of(IdField::Code("null"), {{IdField::Code("Thsh"), ValueModel::Integer(4)}}));
    event.displayName = ByteText::Of("Set");
    EffectModel effect = EffectModel::Named("E", {event});
    effect.functionKey = -1;
    effect.colour = 2;
    return SetModel::Named("Ab", {effect});
}

TEST(SerialiseSet, WritesTheLayoutFieldByField) {
    EXPECT_EQ(
        HexOf(SerialiseSet(SmallSet())),
        Squeezed("00000010 00000003 0041 0062 0000 00 00000001"   // version, "Ab", expanded, 1 Effect
                 "FFFF 00 00 0002 00000002 0045 0000 00 00000001" // key, shift, command, colour, "E", 1 event
                 "00 01 00 00 54455854 00000003 736574 00000003 536574" // flags, TEXT, "set", "Set"
                 "FFFFFFFF 00000001 0000 00000000 6E756C6C 00000001"    // descriptor of 'null', 1 item
                 "00000000 54687368 6C6F6E67 00000004"));               // 'Thsh' long 4
}

TEST(SerialiseSet, ExpressesDamage) {
    SetModel set = SetModel::Named("");
    set.version = 15;
    set.name = UnicodeText{u"A", false, 7};
    set.effectCount = -2;
    EXPECT_EQ(HexOf(SerialiseSet(set)), Squeezed("0000000F 00000007 0041 00 FFFFFFFE"));

    EventModel event = EventModel::Named("x");
    event.identifierKind = "long";
    event.eventName.length = 99;
    event.descriptorFlag = 5;
    EffectModel effect = EffectModel::Named("", {event});
    effect.name.terminated = false;
    effect.eventCount = 3;
    set = SetModel::Named("", {effect});
    set.name.units.clear();
    set.name.terminated = false;
    EXPECT_EQ(HexOf(SerialiseSet(set)), Squeezed("00000010 00000000 00 00000001"
                                                 "0000 00 00 0000 00000000 00 00000003"
                                                 "00 01 00 00 6C6F6E67 00000063 78 00000001 78 00000005"));
}

TEST(SerialiseDescriptor, EveryValueLayout) {
    FormModel form = FormModel::Name(IdField::Code("Lyr "), UnicodeText::Latin1("B"));
    ValueModel list = ValueModel::List({ValueModel::Boolean(true)});
    list.count = 9;
    const DescriptorModel body = DescriptorModel::Of(
        IdField::String("abc"),
        {{IdField::Code("k1  "), ValueModel::Alias({0xAA, 0xBB})},
         {IdField::Code("k2  "), ValueModel::Double(1.0)},
         {IdField::Code("k3  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::String("x"))},
         {IdField::Code("k4  "), ValueModel::Reference({form, FormModel::Index(IdField::Code("Chnl"), 1)})},
         {IdField::Code("k5  "), ValueModel::Object(DescriptorModel::Of(IdField::Code("Lyr "), {}))},
         {IdField::Code("k6  "), ValueModel::Class(IdField::Code("Lyr "))},
         {IdField::Code("k7  "), ValueModel::UnitDouble("#Pxl", -2.0)},
         {IdField::Code("k8  "), list},
         {IdField::Raw(-1, "z"), ValueModel::Raw("what", {1, 2})}});
    EXPECT_EQ(HexOf(SerialiseDescriptor(body)),
              Squeezed("00000001 0000 00000003 616263 00000009"
                       "00000000 6B312020 616C6973 00000002 AABB"
                       "00000000 6B322020 646F7562 3FF0000000000000"
                       "00000000 6B332020 656E756D 00000000 426C6E4D 00000001 78"
                       "00000000 6B342020 6F626A20 00000002"
                       "  6E616D65 00000001 0000 00000000 4C797220 00000002 0042 0000"
                       "  696E6478 00000001 0000 00000000 43686E6C 00000001"
                       "00000000 6B352020 4F626A63 00000001 0000 00000000 4C797220 00000000"
                       "00000000 6B362020 74797065 00000001 0000 00000000 4C797220"
                       "00000000 6B372020 556E7446 2350786C C000000000000000"
                       "00000000 6B382020 566C4C73 00000009 626F6F6C 01"
                       "FFFFFFFF 7A 77686174 0102"));
}

TEST(IdField, CodesNeedExactlyFourBytes) {
    EXPECT_EQ(IdField::Code("Nm  ").length, 0);
    EXPECT_THROW(IdField::Code("Nm"), std::invalid_argument);
    EXPECT_THROW(IdField::Code("Name "), std::invalid_argument);
    EXPECT_EQ(IdField::String("Rds ").length, 4); // a string ID of four characters
}

TEST(StoredForm, CompressMakesAZlibStreamThatRestoresThePlainBytes) {
    const Bytes raw = SerialiseSet(SmallSet());
    const Bytes compressed = Compress(raw);
    ASSERT_GE(compressed.size(), 6u);
    EXPECT_EQ(compressed[0], 0x78); // deflate, 32 KiB window
    EXPECT_EQ((compressed[0] * 256 + compressed[1]) % 31, 0);
    Bytes restored(raw.size());
    uLongf size = uLongf(restored.size());
    ASSERT_EQ(uncompress(restored.data(), &size, compressed.data(), uLong(compressed.size())), Z_OK);
    EXPECT_EQ(restored, raw);
}

TEST(StoredForm, TheSameModelGivesTheSameBytes) {
    EXPECT_EQ(WriteStoredSet(SmallSet()), WriteStoredSet(SmallSet()));
    SetModel other = SmallSet();
    other.effects[0].colour = 3;
    EXPECT_NE(WriteStoredSet(other), WriteStoredSet(SmallSet()));
}

TEST(StoredForm, ScrambleChainsStoredBytesWithTheSeedFirst) {
    const Bytes compressed{0x00, 0x00, 0xFF, 0x10};
    // 0 ^ 5B ^ 0 = 5B; 0 ^ 5B ^ 1 = 5A; FF ^ 5A ^ 2 = A7; 10 ^ A7 ^ 3 = B4
    EXPECT_EQ(Scramble(compressed), (Bytes{0x5B, 0x5A, 0xA7, 0xB4}));
    EXPECT_EQ(Unscramble(Bytes{0x5B, 0x5A, 0xA7, 0xB4}), compressed);
    EXPECT_TRUE(Scramble(Bytes{}).empty());
    Bytes longer(600);
    for (size_t i = 0; i < longer.size(); ++i) {
        longer[i] = uint8_t(i * 31 + 7);
    }
    EXPECT_EQ(Unscramble(Scramble(longer)), longer);
    EXPECT_EQ(RawToStored(longer), Scramble(Compress(longer)));
    EXPECT_EQ(WriteStoredSet(SmallSet()), RawToStored(SerialiseSet(SmallSet())));
}

TEST(PlainWriter, NumbersAreBigEndian) {
    PlainWriter out;
    out.Int16(int16_t(0x8001));
    out.Int32(0x01020304);
    out.Double(-0.0);
    out.Code("TEXT");
    EXPECT_EQ(HexOf(out.bytes()), Squeezed("8001 01020304 8000000000000000 54455854"));
}

} // namespace
} // namespace vtools
