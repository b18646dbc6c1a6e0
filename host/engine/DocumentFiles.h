// Host documents from image files and back.
#pragma once

#include <string>

#include "host/core/Document.h"
#include "host/engine/ImageFile.h"

namespace vhost::engine {

// A document of the picture: RGB, its depth, size, resolution and profile
// name, one "Background" layer. `source` is the file it came from, if any.
Document DocumentFromPicture(Picture picture, std::string source);

// DocumentFromPicture(LoadPicture(path), path).
Document OpenImageDocument(const std::string& path);

// Writes what the document's layers show at its depth, resolution, profile
// and alpha. Saving over the file it came from needs replaceSource. Throws
// EngineError as SavePicture, or kEventNotAvailable for a document without
// pixels.
void SaveImageDocument(const Document& document, const std::string& path, bool replaceSource = false);

// Gives a document the host made without an image (no pixels) a white
// "Background" layer of its size, so events can run on it. Nothing is
// computed unless its pixels are read. Throws EngineError(kEventNotAvailable)
// when the document has no size.
DocumentPixels& PixelsOf(Document& document);

} // namespace vhost::engine
