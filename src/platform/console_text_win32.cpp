#include "platform/console_text.h"

#include <windows.h>
#include <io.h>

#include "platform/wide_text.h"

namespace tenji::platform {

namespace {

constexpr std::string_view CLEAR_TO_LINE_END = "\x1b[K";

HANDLE console_of(std::FILE* stream) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

void write_wide(HANDLE console, std::string_view text) {
  const std::wstring wide = widen(text);
  DWORD written = 0;
  for (std::size_t at = 0; at < wide.size(); at += written)
    if (!WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(wide.size() - at), &written, nullptr) ||
        written == 0)
      return;
}

// Blanks from the cursor to the line's end, the cursor staying: a console
// without escape sequences would show "←[K".
void clear_to_line_end(HANDLE console) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(console, &info)) return;
  const DWORD rest = static_cast<DWORD>(info.dwSize.X - info.dwCursorPosition.X);
  DWORD done = 0;
  FillConsoleOutputCharacterW(console, L' ', rest, info.dwCursorPosition, &done);
  FillConsoleOutputAttribute(console, info.wAttributes, rest, info.dwCursorPosition, &done);
}

}  // namespace

void write_text(std::FILE* stream, std::string_view text) {
  HANDLE console = console_of(stream);
  if (!console) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  std::fflush(stream);  // what went through the stream before comes first
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t clear = text.find(CLEAR_TO_LINE_END, at);
    write_wide(console, text.substr(at, clear == std::string_view::npos ? std::string_view::npos : clear - at));
    if (clear == std::string_view::npos) break;
    clear_to_line_end(console);
    at = clear + CLEAR_TO_LINE_END.size();
  }
}

}  // namespace tenji::platform
