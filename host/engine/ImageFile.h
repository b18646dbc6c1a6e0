// Image files in and out: TIFF, PNG and JPEG holding RGB at 8 or 16 bits per
// channel, with or without an alpha channel and an embedded ICC profile.
#pragma once

#include <optional>
#include <string>

#include <vips/vips8>

namespace vhost::engine {

// What an image file holds, as the engine works on it.
struct Picture {
    int width = 0;
    int height = 0;
    int depth = 8;                     // bits per channel: 8 or 16
    double resolution = 72.0;          // pixels per inch; 72 when the file has none
    std::string profileName;           // the ICC profile's description, "None" without one
    std::string iccProfile;            // the profile's bytes, empty without one
    vips::VImage rgb;                  // lazy float RGB on the 0..1 scale
    std::optional<vips::VImage> alpha; // the alpha band as stored, never changed
};

// The profile name of a picture without a profile, and of one whose profile
// has no readable description.
constexpr const char* kNoProfileName = "None";
constexpr const char* kUnnamedProfileName = "Untitled profile";

// Loads a TIFF, PNG or JPEG file. Throws EngineError(kParamErr) with a
// message naming the file when it cannot be read, is of another format, or
// holds an image the plug-ins are not enabled for (grey, CMYK, Lab, indexed,
// other than 8 or 16 bits per channel, extra channels beyond one alpha): that
// message names the image's mode and says the plug-ins accept RGB of 8 or 16
// bits per channel. An image needing more than 4 GB decoded is refused the
// same way, before anything is decoded.
//
// The file is decoded top to bottom as its rows are first needed, and the
// decoded rows are kept: they may be read any number of times, in any order.
// (Keeping only a few rows would save that memory, but the layers of an Effect
// read their common source at different heights, a wide blur far ahead of a
// plain copy, and a file read in one pass cannot go back.)
Picture LoadPicture(const std::string& path);

// The same checks and conversion for an image already in memory (its xres
// taken as its resolution); `name` stands for the file in messages.
Picture OpenPicture(const vips::VImage& image, const std::string& name);

// Saving: the format follows the extension (.tif/.tiff, .png, .jpg/.jpeg);
// depth, ICC profile, resolution and alpha are those of the picture, its rgb
// (float, 0..1) rounded to the depth. The file is written under a temporary
// name in the target folder and renamed into place, so a failed save leaves
// no partial file and whatever was there before stays. `source` names the
// file the picture came from: unless replaceSource is set, saving over it is
// refused.
struct SaveOptions {
    std::string source;
    bool replaceSource = false;
};

// Throws EngineError(kParamErr): unknown extension, JPEG asked to hold 16 bits
// or alpha, the source not to be replaced, a write that fails.
void SavePicture(const Picture& picture, const std::string& path, const SaveOptions& options = {});

} // namespace vhost::engine
