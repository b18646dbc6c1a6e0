// The about box: a window that holds nothing but the product logo and closes
// when the logo is clicked.
#pragma once

#include <cstdint>

namespace vlh {

// The logo, a BMP file image kept in the module's data.
extern const unsigned char kAboutPicture[];
extern const uint32_t kAboutPictureSize;

// Shows the logo window modally and returns when it is closed. The picture is
// length bytes of an image file the toolkit can decode; one it cannot decode
// leaves the window empty. Does nothing when the toolkit is not running.
void ShowAboutDlg(const unsigned char* image, uint32_t length);

} // namespace vlh
