#include "ui/win32/page_view_win32.h"

#include <algorithm>

#include "ui/win32/images_win32.h"

namespace tenji::ui {

namespace {

struct View {
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;  // of the picture
  int x = 0, y = 0;           // scrolled to
};

View* view_of(HWND w) { return reinterpret_cast<View*>(GetWindowLongPtrW(w, GWLP_USERDATA)); }

void update_scroll_bars(HWND w, View& v) {
  RECT client{};
  GetClientRect(w, &client);
  for (const int bar : {SB_HORZ, SB_VERT}) {
    const int size = bar == SB_HORZ ? v.width : v.height, room = bar == SB_HORZ ? client.right : client.bottom;
    int& at = bar == SB_HORZ ? v.x : v.y;
    at = std::clamp(at, 0, std::max(0, size - room));
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, size - 1), static_cast<UINT>(room), at, 0};
    SetScrollInfo(w, bar, &info, TRUE);
  }
}

void scroll(HWND w, View& v, int bar, WPARAM request) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, bar, &info);
  int& at = bar == SB_HORZ ? v.x : v.y;
  switch (LOWORD(request)) {
    case SB_LINEUP: at -= 20; break;
    case SB_LINEDOWN: at += 20; break;
    case SB_PAGEUP: at -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: at += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: at = info.nTrackPos; break;
    default: return;
  }
  update_scroll_bars(w, v);
  InvalidateRect(w, nullptr, FALSE);
}

LRESULT CALLBACK page_view_proc(HWND w, UINT message, WPARAM wparam, LPARAM lparam) {
  View* v = view_of(w);
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new View));
      break;
    case WM_NCDESTROY:
      if (v) {
        if (v->bitmap) DeleteObject(v->bitmap);
        delete v;
        SetWindowLongPtrW(w, GWLP_USERDATA, 0);
      }
      break;
    case WM_SIZE:
      if (v) update_scroll_bars(w, *v);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (v) scroll(w, *v, message == WM_HSCROLL ? SB_HORZ : SB_VERT, wparam);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture and the room around it are painted whole
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT client{};
      GetClientRect(w, &client);
      FillRect(dc, &client, reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      if (v && v->bitmap) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, v->bitmap);
        BitBlt(dc, 0, 0, std::min<int>(client.right, v->width - v->x), std::min<int>(client.bottom, v->height - v->y),
               memory, v->x, v->y, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      EndPaint(w, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(w, message, wparam, lparam);
}

}  // namespace

void register_page_view_class() {
  static const bool registered = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = page_view_proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    c.lpszClassName = PAGE_VIEW_CLASS;
    return RegisterClassW(&c) != 0;
  }();
  (void)registered;
}

void set_page_view_picture(HWND w, const resources::Pixels& pixels) {
  View* v = view_of(w);
  if (!v) return;
  if (v->bitmap) DeleteObject(v->bitmap);
  v->bitmap = bitmap_of(pixels);
  v->width = pixels.width;
  v->height = pixels.height;
  update_scroll_bars(w, *v);
  InvalidateRect(w, nullptr, FALSE);
}

}  // namespace tenji::ui
