// Pictures saved as PNG by our own code over zlib, for window systems
// without an image library of their own and for the preview's page files.
#pragma once

#include <string>

#include "resources/pixels.h"

namespace tenji::resources {

// The PNG file's bytes: 8-bit RGBA, or 8-bit grey.
std::string png_bytes(const Pixels& pixels);
std::string png_bytes(const GreyPixels& pixels);
// False when the file could not be written whole.
bool write_png(const std::string& path, const Pixels& pixels);
bool write_png(const std::string& path, const GreyPixels& pixels);

}  // namespace tenji::resources
