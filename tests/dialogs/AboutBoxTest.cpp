// The about box, driven through the X server: a bare window over the host's
// window holding the logo alone, exactly its size, centred on the screen,
// closed by a click on the logo.
#include <gtest/gtest.h>

#include <wx/dialog.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "about/AboutDlg.h"
#include "tests/dialogs/DecodedPicture.h"
#include "tests/dialogs/DialogFixture.h"

namespace vlh::dialogs {
namespace {

using AboutBoxTest = DialogTest;

TEST_F(AboutBoxTest, ShowsTheLogoAloneOverTheHostWindowAndClosesOnAClick) {
    DialogScript script(x);
    DialogView seen;
    script.WaitForDialog("AboutDlg").Observe(seen).Click(wxID_OK).WaitUntilClosed();
    const SPErr result = RunAbout(script);
    ASSERT_TRUE(script.Finished()) << script.Failure();

    EXPECT_EQ(0, result);
    EXPECT_EQ(10003, seen.id);
    EXPECT_EQ("", seen.title);
    EXPECT_EQ("", seen.xTitle);
    EXPECT_EQ(504, seen.clientWidth);
    EXPECT_EQ(216, seen.clientHeight);
    EXPECT_EQ(504, seen.bitmapWidth);
    EXPECT_EQ(216, seen.bitmapHeight);
    EXPECT_EQ(504, seen.geometry.width) << "the window has a frame of its own";
    EXPECT_EQ(216, seen.geometry.height) << "the window has a frame of its own";
    EXPECT_EQ((x.ScreenWidth() - 504) / 2, seen.geometry.x) << "not centred on the screen";
    EXPECT_EQ((x.ScreenHeight() - 216) / 2, seen.geometry.y) << "not centred on the screen";

    ASSERT_TRUE(seen.hints.decorations.has_value());
    EXPECT_EQ(0u, *seen.hints.decorations) << "no title bar, no border";
    ASSERT_TRUE(seen.hints.functions.has_value());
    EXPECT_EQ(0u, *seen.hints.functions & kMotifFunctionClose) << "no close box";
    EXPECT_EQ(hostWindow->XWindow(), seen.transientFor) << "the about box is not owned by the host's window";
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(host.Events().Lines().empty());
}

// The module carries the committed logo, and it decodes (GdkPixbuf, not the
// toolkit) to a drawn picture of the about box's size.
TEST(AboutLogoTest, TheModuleCarriesTheCommittedLogoAndItDecodes) {
    std::ifstream file(VLH_ABOUT_PICTURE, std::ios::binary);
    ASSERT_TRUE(file) << VLH_ABOUT_PICTURE;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), kAboutPictureSize);
    EXPECT_EQ(0, std::memcmp(bytes.data(), kAboutPicture, bytes.size()));
    const auto logo = DecodePicture(kAboutPicture, kAboutPictureSize);
    ASSERT_TRUE(logo.has_value());
    EXPECT_EQ(504, logo->width);
    EXPECT_EQ(216, logo->height);
    const std::set<uint32_t> colours(logo->pixels.begin(), logo->pixels.end());
    EXPECT_GT(colours.size(), 16u) << "the logo is not drawn";
}

} // namespace
} // namespace vlh::dialogs
