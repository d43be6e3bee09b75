#include "ui/win32/images_win32.h"

#include <cstring>
#include <string>

namespace tenji::ui {

namespace {

BITMAPINFO top_down_info(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

HBITMAP bitmap_of(const resources::Pixels& p) {
  BITMAPINFO info = top_down_info(p.width, p.height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) std::memcpy(bits, p.argb.data(), p.argb.size() * 4);  // BGRA in memory, as 0xAARRGGBB
  return bitmap;
}

HICON icon_of(int id, int size) {
  if (auto icon = static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)))
    return icon;
  // The .ico file's image, after its 22-byte directory.
  std::string ico = resources::ico_file(id);
  return CreateIconFromResourceEx(reinterpret_cast<BYTE*>(ico.data() + 22), static_cast<DWORD>(ico.size() - 22), TRUE,
                                  0x00030000, size, size, LR_DEFAULTCOLOR);
}

resources::Pixels capture_window(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  resources::Pixels p;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  if (p.width <= 0 || p.height <= 0) return {};
  BITMAPINFO info = top_down_info(p.width, p.height);
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return {};
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  // From the screen: what the user sees, the frame and every control.
  BitBlt(memory, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  p.argb.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
  std::memcpy(p.argb.data(), bits, p.argb.size() * 4);
  for (auto& v : p.argb) v |= 0xFF000000u;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return p;
}

}  // namespace tenji::ui
