// The about box, driven through the X server: a bare window over the host's
// window, exactly the logo's size, centred on the screen, showing the logo's
// pixels, closed by a click on the logo.
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

// Waits until the screen under the about box shows the logo pixel for pixel;
// mismatched counts the pixels that differed on the last look.
DialogScript& ExpectLogoOnScreen(DialogScript& script, XSession& x, const DecodedPicture& logo,
                                 size_t& mismatched) {
    return script.Then("see the logo on the screen", [&x, &logo, &mismatched](wxDialog* dialog) {
        if (dialog == nullptr) {
            return false;
        }
        const auto geometry = x.Geometry(XWindowOf(*dialog));
        if (!geometry) {
            return false;
        }
        const std::vector<uint32_t> shown = x.ScreenArea(geometry->x, geometry->y, logo.width, logo.height);
        if (shown.size() != logo.pixels.size()) {
            mismatched = logo.pixels.size();
            return false;
        }
        mismatched = 0;
        for (size_t i = 0; i < shown.size(); ++i) {
            mismatched += shown[i] != logo.pixels[i] ? 1 : 0;
        }
        return mismatched == 0;
    });
}

TEST_F(AboutBoxTest, ShowsTheLogoAloneOverTheHostWindowAndClosesOnAClick) {
    const auto logo = DecodePicture(kAboutPicture, kAboutPictureSize);
    ASSERT_TRUE(logo.has_value());

    DialogScript script(x);
    DialogView seen;
    size_t mismatched = 0;
    script.WaitForDialog("AboutDlg").Observe(seen);
    ExpectLogoOnScreen(script, x, *logo, mismatched).Click(wxID_OK).WaitUntilClosed();
    const SPErr result = RunAbout(script);
    ASSERT_TRUE(script.Finished()) << script.Failure() << " (" << mismatched
                                   << " pixels differ from the logo)";

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
