#include "config/value_text.h"

#include <charconv>
#include <climits>
#include <cstdio>

namespace tenji {

namespace {

bool is_c_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips leading white space and a '+' sign; from_chars handles '-' itself.
std::string_view number_start(std::string_view text) {
  while (!text.empty() && is_c_space(text.front())) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return {};
  }
  return text;
}

}  // namespace

double text_to_real(std::string_view text) {
  const std::string_view s = number_start(text);
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec == std::errc::invalid_argument) return 0.0;
  (void)ptr;
  return value;
}

int text_to_int(std::string_view text) {
  const std::string_view s = number_start(text);
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  (void)ptr;
  if (ec == std::errc::invalid_argument) return 0;
  if (ec == std::errc::result_out_of_range) return (!s.empty() && s.front() == '-') ? INT_MIN : INT_MAX;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string ascii_number_text(std::string_view typed) {
  std::string ascii;
  ascii.reserve(typed.size());
  for (std::size_t i = 0; i < typed.size();) {
    // U+FF0B..U+FF19 are EF BC 8B..99 in UTF-8: ＋ ， － ． ／ and ０..９.
    if (typed.substr(i, 2) == "\xEF\xBC" && i + 2 < typed.size()) {
      const auto c = static_cast<unsigned char>(typed[i + 2]);
      const char ascii_form = c >= 0x90 && c <= 0x99 ? static_cast<char>('0' + (c - 0x90))
                              : c == 0x8E             ? '.'
                              : c == 0x8D             ? '-'
                              : c == 0x8B             ? '+'
                                                      : '\0';
      if (ascii_form != '\0') {
        ascii += ascii_form;
        i += 3;
        continue;
      }
    }
    if (typed.substr(i, 3) == "\xE2\x88\x92") {  // U+2212 MINUS SIGN
      ascii += '-';
      i += 3;
      continue;
    }
    ascii += typed[i++];
  }
  return ascii;
}

std::string format_real(double value, int decimals) {
  char buf[400];
  const auto [ptr, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  return std::string(buf, ptr);
}

std::string format_int(int value) { return std::to_string(value); }

}  // namespace tenji
