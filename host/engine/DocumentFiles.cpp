#include "host/engine/DocumentFiles.h"

#include <memory>

#include "host/engine/DocumentPixels.h"
#include "host/engine/EngineError.h"
#include "host/engine/Vips.h"

namespace vhost::engine {

Document DocumentFromPicture(Picture picture, std::string source) {
    Document document;
    document.mode = ColourMode::RGB;
    document.depth = picture.depth;
    document.width = picture.width;
    document.height = picture.height;
    document.resolution = picture.resolution;
    document.profile = picture.profileName;
    document.pixels = std::make_shared<DocumentPixels>(DocumentPixels{LayerStack(std::move(picture.rgb)),
                                                                      std::move(picture.alpha),
                                                                      std::move(picture.iccProfile),
                                                                      std::move(source),
                                                                      {}});
    return document;
}

Document OpenImageDocument(const std::string& path) {
    return DocumentFromPicture(LoadPicture(path), path);
}

void SaveImageDocument(const Document& document, const std::string& path, bool replaceSource) {
    if (!document.pixels) {
        throw EngineError(code::kEventNotAvailable, "the document has no image to save");
    }
    const DocumentPixels& pixels = *document.pixels;
    const Picture picture{
        document.width,    document.height,           document.depth, document.resolution, document.profile,
        pixels.iccProfile, pixels.layers.Composite(), pixels.alpha};
    SavePicture(picture, path, SaveOptions{pixels.source, replaceSource});
}

DocumentPixels& PixelsOf(Document& document) {
    if (!document.pixels) {
        if (document.width < 1 || document.height < 1) {
            throw EngineError(code::kEventNotAvailable, "the document has no pixels");
        }
        StartVips();
        const vips::VImage white =
            vips::VImage::black(document.width, document.height, vips::VImage::option()->set("bands", 3))
                .linear(0.0, 1.0);
        document.pixels = std::make_shared<DocumentPixels>(DocumentPixels{LayerStack(white), {}, {}, {}, {}});
    }
    return *document.pixels;
}

} // namespace vhost::engine
