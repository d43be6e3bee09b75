#include "platform/profile_text.h"

#include "platform/utf8.h"

namespace tenji::platform {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  return s;
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> section_name(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  return trim(line);
}

struct KeyValue {
  std::string_view key, value;
};

std::optional<KeyValue> key_value(std::string_view line) {
  const std::string_view t = trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyValue{trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return v.substr(1, v.size() - 2);
  return v;
}

bool has_line_break(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string utf16_to_utf8(std::string_view bytes, bool big_endian) {
  std::string out;
  auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(big_endian ? (a << 8 | b) : (b << 8 | a));
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    append_utf8(out, c);
  }
  return out;
}

std::string utf8_to_utf16(std::string_view text, bool big_endian) {
  std::string out;
  auto put = [&](char32_t u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += big_endian ? hi : lo;
    out += big_endian ? lo : hi;
  };
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (int k = 1; k < n && i + k < text.size(); ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += n;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

}  // namespace

ProfileText ProfileText::decode(const std::string& bytes) {
  ProfileText p;
  std::string text;
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    p.encoding_ = Encoding::utf8_bom;
    text = bytes.substr(3);
  } else if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    p.encoding_ = Encoding::utf16le;
    text = utf16_to_utf8(std::string_view(bytes).substr(2), false);
  } else if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    p.encoding_ = Encoding::utf16be;
    text = utf16_to_utf8(std::string_view(bytes).substr(2), true);
  } else {
    text = bytes;
  }
  // Lines end at LF; where no LF is left, at CR (a file of old Macintosh
  // line ends), as Windows reads them.
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    std::size_t next;
    if (end != std::string::npos) {
      next = end + 1;
      if (end > start && text[end - 1] == '\r') --end;
    } else if ((end = text.find('\r', start)) != std::string::npos) {
      next = end + 1;
    } else {
      end = next = text.size();
    }
    p.lines_.push_back({text.substr(start, end - start), text.substr(end, next - end)});
    start = next;
  }
  return p;
}

std::string ProfileText::encode() const {
  std::string text;
  for (const auto& l : lines_) text += l.text + l.eol;
  switch (encoding_) {
    case Encoding::utf8_bom: return "\xEF\xBB\xBF" + text;
    case Encoding::utf16le: return "\xFF\xFE" + utf8_to_utf16(text, false);
    case Encoding::utf16be: return "\xFE\xFF" + utf8_to_utf16(text, true);
    case Encoding::plain: break;
  }
  return text;
}

auto ProfileText::find_section(std::string_view section) const -> std::optional<Range> {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = section_name(lines_[i].text);
    if (!name || !same_name(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !section_name(lines_[end].text)) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> ProfileText::find_key(const Range& range, std::string_view key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto kv = key_value(lines_[i].text);
    if (kv && same_name(kv->key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileText::value(std::string_view section, std::string_view key) const {
  const auto range = find_section(section);
  if (!range) return std::nullopt;
  const auto at = find_key(*range, key);
  if (!at) return std::nullopt;
  return std::string(unquote(key_value(lines_[*at].text)->value));
}

std::optional<std::vector<std::string>> ProfileText::keys(std::string_view section) const {
  const auto range = find_section(section);
  if (!range) return std::nullopt;
  std::vector<std::string> out;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (const auto kv = key_value(lines_[i].text)) out.emplace_back(kv->key);
  return out;
}

// Files that already end their lines keep that line end for the lines added;
// new files get CRLF.
std::string ProfileText::eol() const {
  for (const auto& l : lines_)
    if (!l.eol.empty()) return l.eol;
  return "\r\n";
}

bool ProfileText::set(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || key.empty() || has_line_break(section) || has_line_break(key) || has_line_break(value) ||
      key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos)
    return false;
  const std::string line_end = eol();
  const std::string new_text = std::string(key) + "=" + std::string(value);
  // A last line without a break gets one before anything is put after it.
  auto terminate_before = [&](std::size_t at) {
    if (at > 0 && lines_[at - 1].eol.empty()) lines_[at - 1].eol = line_end;
  };
  const auto range = find_section(section);
  if (!range) {
    terminate_before(lines_.size());
    std::string header(1, '[');  // appended, not "[" + string: GCC 12 warns falsely on that at -O3
    header.append(section).push_back(']');
    lines_.push_back({header, line_end});
    lines_.push_back({new_text, line_end});
    return true;
  }
  if (const auto at = find_key(*range, key)) {
    // Keep the key's own spelling and any indentation before it.
    const std::string& old = lines_[*at].text;
    std::string_view before = std::string_view(old).substr(0, old.find('='));
    while (!before.empty() && is_space(before.back())) before.remove_suffix(1);
    lines_[*at].text = std::string(before) + "=" + std::string(value);
    return true;
  }
  std::size_t insert_at = range->header + 1;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (!trim(lines_[i].text).empty()) insert_at = i + 1;
  terminate_before(insert_at);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), Line{new_text, line_end});
  return true;
}

}  // namespace tenji::platform
