// The four-character codes of the event vocabulary's keys, classes, types,
// units and enumeration values.
#pragma once

#include <cstdint>

#include "hostapi/FourCharCode.h"

namespace vhost::engine::terms {

using vlh::FourCC;

// keys
constexpr uint32_t kTarget = FourCC("null");
constexpr uint32_t kName = FourCC("Nm  ");
constexpr uint32_t kTo = FourCC("T   ");
constexpr uint32_t kMode = FourCC("Md  ");
constexpr uint32_t kOpacity = FourCC("Opct");
constexpr uint32_t kAmount = FourCC("Amnt");
constexpr uint32_t kRadius = FourCC("Rds ");
constexpr uint32_t kThreshold = FourCC("Thsh");

// classes
constexpr uint32_t kLayer = FourCC("Lyr ");
constexpr uint32_t kDocument = FourCC("Dcmn");

// enumeration types and values
constexpr uint32_t kBlendMode = FourCC("BlnM");
constexpr uint32_t kOrdinal = FourCC("Ordn");
constexpr uint32_t kTargetEnum = FourCC("Trgt");
constexpr uint32_t kBackward = FourCC("Bckw");
constexpr uint32_t kForward = FourCC("Frwr");
constexpr uint32_t kPurgeItem = FourCC("PrgI");
constexpr uint32_t kClipboard = FourCC("Clpb");

// units
constexpr uint32_t kPercent = FourCC("#Prc");
constexpr uint32_t kPixels = FourCC("#Pxl");

} // namespace vhost::engine::terms
