// The image-size readout of the Output plug-in's dialog: the document's size
// in the host's ruler units, whole pixels for the web Set, nothing where the
// host cannot say, and no readout at all for the other three plug-ins.
#include <gtest/gtest.h>

#include <wx/defs.h>

#include <cstdint>
#include <string>

#include "hostapi/FourCharCode.h"
#include "tests/dialogs/DialogFixture.h"

namespace vlh::dialogs {
namespace {

constexpr int kSetChoice = 10001;
constexpr int kNoteText = 10029;
constexpr int kSizeCaption = 10030;
constexpr int kSizeReadout = 10028;
constexpr const char* kWebSet = "Web and Multimedia Honers";

// The readout of the Output dialog opened with setName, closed with Escape.
class ReadoutTest : public DialogTest {
protected:
    DialogView OpenOutputDialog(std::optional<std::string> setName = std::nullopt) {
        DialogScript script(x);
        DialogView seen;
        script.WaitForDialog("VellicorDlg").Observe(seen).PressKey("Escape");
        const vhost::DoItResult result =
            RunDialog(kOutput, script, setName, setName ? std::optional<std::string>("") : std::nullopt);
        EXPECT_TRUE(script.Finished()) << script.Failure();
        EXPECT_EQ(1, result.result);
        return seen;
    }

    void SetRulerUnit(const char* stringID) {
        host.App().rulerUnits = host.Terms().ToTypeID(stringID).value();
    }
};

struct RulerCase {
    const char* name;
    const char* rulerUnit; // the unit's string ID
    const char* expected;  // for 720 x 360 points at 300 ppi
};

class RulerUnitTest : public ReadoutTest, public ::testing::WithParamInterface<RulerCase> {};

TEST_P(RulerUnitTest, ShowsTheDocumentSizeInTheRulerUnit) {
    SetRulerUnit(GetParam().rulerUnit);
    const DialogView seen = OpenOutputDialog();
    EXPECT_EQ(GetParam().expected, seen.readout);
    EXPECT_TRUE(seen.Shown(kSizeReadout));
    EXPECT_TRUE(seen.Shown(kNoteText));
    EXPECT_TRUE(seen.Shown(kSizeCaption));
}

INSTANTIATE_TEST_SUITE_P(
    RulerUnits, RulerUnitTest,
    ::testing::Values(RulerCase{"Pixels", "rulerPixels", "3000 pixels x 1500 pixels @ 300.00 ppi"},
                      RulerCase{"Inches", "rulerInches", "10.00 in. x 5.00 in. @ 300.00 ppi."},
                      RulerCase{"PercentReadsAsInches", "rulerPercent", "10.00 in. x 5.00 in. @ 300.00 ppi."},
                      RulerCase{"Centimetres", "rulerCm", "25.40 cm. x 12.70 cm. @ 118.11 ppcm."},
                      RulerCase{"Millimetres", "rulerMm", "254.00 mm. x 127.00 mm. @ 11.81 ppmm."},
                      RulerCase{"Points", "rulerPoints", "720.00 points x 360.00 points @ 300.00 ppi."},
                      RulerCase{"Picas", "rulerPicas", "60.00 picas x 30.00 picas @ 300.00 ppi."},
                      RulerCase{"AnotherUnitShowsNothing", "rulerUnits", ""}),
    [](const ::testing::TestParamInfo<RulerCase>& param) { return std::string(param.param.name); });

using SizeReadoutTest = ReadoutTest;

TEST_F(SizeReadoutTest, AUnitTheHostHasNoNameForShowsNothing) {
    host.App().rulerUnits = FourCC("RrXx");
    EXPECT_EQ("", OpenOutputDialog().readout);
}

// The web Set shows whole pixels whatever the rulers say; picking another Set
// switches back to the ruler unit, and back again.
TEST_F(SizeReadoutTest, TheWebSetShowsWholePixelsWhateverTheRulers) {
    SetRulerUnit("rulerCm");
    const vhost::ListedPlugin listed = Listed(kOutput);
    int webIndex = -1;
    for (size_t i = 0; i < listed.sets.size(); ++i) {
        if (listed.sets[i].name == kWebSet) {
            webIndex = static_cast<int>(i);
        }
    }
    ASSERT_GT(webIndex, 0) << "the Output plug-in has no Set \"" << kWebSet << "\" after its first";

    DialogScript script(x);
    DialogView opened, otherSet, webAgain;
    script.WaitForDialog("VellicorDlg")
        .Observe(opened)
        .Select(kSetChoice, 0)
        .Observe(otherSet)
        .Select(kSetChoice, webIndex)
        .Observe(webAgain)
        .PressKey("Escape");
    RunDialog(kOutput, script, std::string(kWebSet), std::string());
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(webIndex, opened.sets.selection);
    EXPECT_EQ("3000 pixels x 1500 pixels", opened.readout);
    EXPECT_EQ("25.40 cm. x 12.70 cm. @ 118.11 ppcm.", otherSet.readout);
    EXPECT_EQ("3000 pixels x 1500 pixels", webAgain.readout);
}

// Where the host cannot report a value there is no size: the readout is
// empty, not garbage.
TEST_F(SizeReadoutTest, AValueTheHostCannotReportLeavesTheReadoutEmpty) {
    const std::pair<const char*, const char*> missing[] = {
        {"Dcmn", "Wdth"}, {"Dcmn", "Hght"}, {"Dcmn", "Rslt"}, {"capp", "RlrU"}};
    for (const auto& [classID, key] : missing) {
        SCOPED_TRACE(std::string(classID) + " " + key);
        host.ClearPropertyOverrides();
        host.RemoveProperty(FourCCFromBytes(classID), FourCCFromBytes(key));
        const DialogView seen = OpenOutputDialog();
        EXPECT_EQ("", seen.readout);
        EXPECT_TRUE(seen.Shown(kSizeReadout));
    }
}

// The other plug-ins hide the note, the caption and the readout, and the
// dialog is laid out without them.
TEST_F(SizeReadoutTest, OtherPluginsShowNoReadout) {
    const DialogView output = OpenOutputDialog();
    for (const char* plugin : {kCapture, kCreative, kExpert}) {
        DialogScript script(x);
        DialogView seen;
        script.WaitForDialog("VellicorDlg").Observe(seen).PressKey("Escape");
        RunDialog(plugin, script);
        ASSERT_TRUE(script.Finished()) << plugin << ": " << script.Failure();
        EXPECT_FALSE(seen.Shown(kNoteText)) << plugin;
        EXPECT_FALSE(seen.Shown(kSizeCaption)) << plugin;
        EXPECT_FALSE(seen.Shown(kSizeReadout)) << plugin;
        EXPECT_TRUE(seen.Shown(wxID_STATIC)) << plugin;
        EXPECT_LT(seen.top.at(wxID_STATIC), output.top.at(wxID_STATIC)) << plugin << ": the hidden controls take room";
    }
}

} // namespace
} // namespace vlh::dialogs
