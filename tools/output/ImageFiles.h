// Image and file output of the preview: PNG encoding, complete files (written
// under a temporary name, then renamed), text drawn with a built-in bitmap
// font, and the contact sheet of a whole run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simhost/Canvas.h"

namespace cs::preview {

using sim::Image;  // what a canvas snapshot gives

// The PNG encoding of an image; empty on failure.
std::vector<uint8_t> encodePng(const Image& image);

// Writes `bytes` to `path` completely or not at all: a temporary file in the
// same folder is written, then renamed over the target. Throws
// std::runtime_error naming the path when it fails.
void writeFileAtomic(const std::string& path, const void* bytes, size_t size);
void writeFileAtomic(const std::string& path, const std::string& text);

// Draws `text` (ASCII) with its top-left corner at (x, y), each font pixel
// `scale` image pixels wide; clipped to the image.
void drawText(Image& image, int x, int y, const std::string& text, uint32_t rgb, int scale = 1);
// Width and height in image pixels that drawText would cover.
int textWidth(const std::string& text, int scale = 1);
int textHeight(int scale = 1);

struct SheetFrame {
    Image image;
    std::string caption;  // drawn under the frame, e.g. "t = 36 s"
};

// A grid of the frames with their captions, at most `columns` a row, on a
// dark grey ground; `title` across the top.
Image contactSheet(const std::vector<SheetFrame>& frames, const std::string& title,
                   int columns = 8);

}  // namespace cs::preview

namespace cs::preview {

// What an XML gauge would draw around the module's display, added to the
// kept images only: the own-aircraft symbol at the display centre (cx, cy in
// pixels) and a ring of 12 dots at `ringNm` (`pixelsPerNm` apart per mile).
void drawOwnAircraftOverlay(Image& image, double cx, double cy, double pixelsPerNm, double ringNm);

}  // namespace cs::preview
