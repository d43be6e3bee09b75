// A picture as pixels, drawn by our own code so that every window system
// shows the same one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tenji::resources {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // rows top down, 0xAARRGGBB

  std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

// A grey picture, a byte a pixel (0 black, 255 white): pages of dots.
struct GreyPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> grey;  // rows top down
};

// Bitmap 137 of the dot-spacing dialog: four cells in two lines with arrows
// for 横点間, マス間, 縦点間 and 行間, 224 x 224 pixels.
Pixels geometry_picture();

// `source` at `factor` times its size (rounded), each channel interpolated
// between the four nearest source pixels: the pictures of a dialog that
// grew with the screen's DPI grow with it.
Pixels scaled(const Pixels& source, double factor);

// Icons 146 and 147, 32 x 32, transparent where the template is blank.
Pixels icon_pixels(int icon_id);

// An icon as a Windows .ico file (one 32 x 32 image, 32 bits a pixel).
std::string ico_file(int icon_id);

}  // namespace tenji::resources
