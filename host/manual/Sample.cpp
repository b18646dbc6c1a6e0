#include "host/manual/Sample.h"

#include "host/engine/Vips.h"
#include "host/manual/ManualError.h"
#include "resources/images/Chart.h"

namespace vhost::manual {

namespace {

// 112 x 56 pixels of the chart's detail area: its two largest lines of small
// print and the straight edge of the dark panel beside them.
constexpr int kCropWidth = 112;
constexpr int kCropHeight = 56;
constexpr int kFromLeft = 56; // from the detail area's top left corner
constexpr int kFromTop = 42;

CropArea CropOfDetailArea() {
    const vtools::chart::Box& area = vtools::chart::kDetailArea;
    return {int(area.left) + kFromLeft, int(area.top) + kFromTop, kCropWidth, kCropHeight};
}

} // namespace

ManualSample LoadManualSample() {
    try {
        engine::StartVips();
        ManualSample sample;
        sample.image = vtools::chart::RenderChart();
        sample.crop = CropOfDetailArea();
        sample.description =
            "the project's own test chart: " + std::to_string(vtools::chart::kChartWidth) + " by " +
            std::to_string(vtools::chart::kChartHeight) +
            " pixels of 16 bits per channel, slightly soft and slightly noisy as a camera leaves its "
            "pictures. "
            "The crop shows two lines of its small print and the edge of a dark panel";
        return sample;
    } catch (const std::exception& e) {
        throw ManualError("cannot draw the sample picture: " + engine::VipsMessage(e));
    }
}

} // namespace vhost::manual
