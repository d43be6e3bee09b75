// Pictures saved as PNG by our own code (stored, not compressed), for
// window systems without an image library of their own.
#pragma once

#include <string>

#include "resources/pixels.h"

namespace tenji::ui {

// The PNG file's bytes: 8-bit RGBA.
std::string png_bytes(const resources::Pixels& pixels);
// False when the file could not be written whole.
bool write_png(const std::string& path, const resources::Pixels& pixels);

}  // namespace tenji::ui
