// String IDs and type IDs.
#include <gtest/gtest.h>

#include "host/core/Terminology.h"
#include "hostapi/FourCharCode.h"

namespace vhost {
namespace {

using vlh::FourCC;

struct KnownTerm {
    const char* stringID;
    uint32_t code;
};

TEST(TerminologyTest, KnownStringIDsGiveTheirCodesAndBack) {
    const KnownTerm terms[] = {
        {"unsharpMask", FourCC("UnsM")},  {"highPass", FourCC("HghP")},
        {"gaussianBlur", FourCC("GsnB")}, {"duplicate", FourCC("Dplc")},
        {"set", FourCC("setd")},          {"select", FourCC("slct")},
        {"flattenImage", FourCC("FltI")}, {"mergeLayersNew", FourCC("Mrg2")},
        {"desaturate", FourCC("Dstt")},   {"invert", FourCC("Invr")},
        {"purge", FourCC("Prge")},        {"layer", FourCC("Lyr ")},
        {"document", FourCC("Dcmn")},     {"application", FourCC("capp")},
        {"ordinal", FourCC("Ordn")},      {"targetEnum", FourCC("Trgt")},
        {"blendMode", FourCC("BlnM")},    {"overlay", FourCC("Ovrl")},
        {"percentUnit", FourCC("#Prc")},  {"pixelsUnit", FourCC("#Pxl")},
        {"pointsUnit", FourCC("#Pnt")},   {"densityUnit", FourCC("#Rsl")},
        {"hostName", FourCC("HstN")},     {"hostVersion", FourCC("HstV")},
        {"versionMajor", FourCC("VrsM")}, {"rulerUnits", FourCC("RlrU")},
        {"rulerPixels", FourCC("RrPx")},  {"purgeItem", FourCC("PrgI")},
        {"clipboard", FourCC("Clpb")},    {"to", FourCC("T   ")},
        {"name", FourCC("Nm  ")},         {"mergeLayers", FourCC("MrgL")},
    };
    Terminology t;
    for (const KnownTerm& k : terms) {
        EXPECT_EQ(k.code, t.ToTypeID(k.stringID)) << k.stringID;
        EXPECT_EQ(k.stringID, t.ToStringID(k.code)) << k.stringID;
    }
}

TEST(TerminologyTest, NullAndTargetShareOneCodeThatReadsBackAsNull) {
    Terminology t;
    EXPECT_EQ(FourCC("null"), t.ToTypeID("null"));
    EXPECT_EQ(FourCC("null"), t.ToTypeID("target"));
    EXPECT_EQ("null", t.ToStringID(FourCC("null")));
}

TEST(TerminologyTest, StringOnlyTermsGetStableRuntimeIDsOutsideThePrintableCodes) {
    Terminology t;
    const auto linear = t.ToTypeID("linearLight");
    const auto colour = t.ToTypeID("colorSettings");
    ASSERT_TRUE(linear && colour);
    EXPECT_NE(*linear, *colour);
    EXPECT_TRUE(Terminology::IsRuntimeID(*linear));
    EXPECT_TRUE(Terminology::IsRuntimeID(*colour));
    EXPECT_EQ(linear, t.ToTypeID("linearLight"));
    EXPECT_EQ("linearLight", t.ToStringID(*linear));
    EXPECT_EQ("colorSettings", t.ToStringID(*colour));
    EXPECT_EQ(Terminology::kFirstRuntimeID, *linear);
}

TEST(TerminologyTest, ACodeWithNoStringAndTheEmptyStringAreRefused) {
    Terminology t;
    EXPECT_EQ(std::nullopt, t.ToStringID(FourCC("Zzzz")));
    EXPECT_EQ(std::nullopt, t.ToStringID(Terminology::kFirstRuntimeID)); // not handed out yet
    EXPECT_EQ(std::nullopt, t.ToTypeID(""));
}

} // namespace
} // namespace vhost
