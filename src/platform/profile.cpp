#include "platform/profile.h"

#include <optional>
#include <vector>

#include "platform/atomic_file.h"

namespace tenji::platform {

namespace {

struct Line {
  std::string text;  // without its line ending
  std::string eol;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> split_lines(const std::string& bytes) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t nl = bytes.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back({bytes.substr(start), ""});
      break;
    }
    const bool crlf = nl > start && bytes[nl - 1] == '\r';
    const std::size_t end = crlf ? nl - 1 : nl;
    lines.push_back({bytes.substr(start, end - start), crlf ? "\r\n" : "\n"});
    start = nl + 1;
  }
  return lines;
}

std::string join_lines(const std::vector<Line>& lines) {
  std::string out;
  for (const auto& l : lines) out += l.text + l.eol;
  return out;
}

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

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> section_name(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  return trim(line);
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyValue> key_value(std::string_view line) {
  const std::string_view t = trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyValue{trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

struct SectionRange {
  std::size_t header;  // index of the "[name]" line
  std::size_t end;     // index of the next section's line, or the line count
};

std::optional<SectionRange> find_section(const std::vector<Line>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = section_name(lines[i].text);
    if (!name || !same_name(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !section_name(lines[end].text)) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> find_key(const std::vector<Line>& lines, const SectionRange& range,
                                    std::string_view key) {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto kv = key_value(lines[i].text);
    if (kv && same_name(kv->key, key)) return i;
  }
  return std::nullopt;
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// Files that already use LF keep LF for the lines we add; new files get CRLF.
std::string line_ending_of(const std::vector<Line>& lines) {
  for (const auto& l : lines)
    if (!l.eol.empty()) return l.eol;
  return "\r\n";
}

bool has_line_break(std::string_view s) {
  return s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos;
}

}  // namespace

std::string read_profile_string(std::string_view section, std::string_view key,
                                std::string_view default_text, std::size_t buffer_size,
                                const std::string& path) {
  auto cut = [buffer_size](std::string_view s) {
    if (buffer_size == 0) return std::string();
    return std::string(s.substr(0, buffer_size - 1));
  };
  const auto bytes = read_file_bytes(path);
  if (!bytes) return cut(default_text);
  const auto lines = split_lines(*bytes);
  const auto range = find_section(lines, section);
  if (!range) return cut(default_text);
  const auto at = find_key(lines, *range, key);
  if (!at) return cut(default_text);
  return cut(unquote(key_value(lines[*at].text)->value));
}

bool write_profile_string(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path) {
  if (section.empty() || key.empty() || has_line_break(section) || has_line_break(key) ||
      has_line_break(value) || key.find('=') != std::string_view::npos ||
      section.find(']') != std::string_view::npos)
    return false;

  const auto existing = read_file_bytes(path);
  std::vector<Line> lines = existing ? split_lines(*existing) : std::vector<Line>{};
  const std::string eol = line_ending_of(lines);
  const std::string new_text = std::string(key) + "=" + std::string(value);

  auto terminate_last = [&lines, &eol](std::size_t upto) {
    // A line without a break gets one before anything is put after it.
    if (upto > 0 && lines[upto - 1].eol.empty()) lines[upto - 1].eol = eol;
  };

  if (const auto range = find_section(lines, section)) {
    if (const auto at = find_key(lines, *range, key)) {
      // Keep the key's own spelling and any indentation before it.
      const std::string& old = lines[*at].text;
      const std::size_t eq = old.find('=');
      std::string_view before = std::string_view(old).substr(0, eq);
      while (!before.empty() && is_space(before.back())) before.remove_suffix(1);
      lines[*at].text = std::string(before) + "=" + std::string(value);
    } else {
      std::size_t insert_at = range->header + 1;
      for (std::size_t i = range->header + 1; i < range->end; ++i)
        if (!trim(lines[i].text).empty()) insert_at = i + 1;
      terminate_last(insert_at);
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), Line{new_text, eol});
    }
  } else {
    terminate_last(lines.size());
    std::string header(1, '[');
    header.append(section).append(1, ']');
    lines.push_back({header, eol});
    lines.push_back({new_text, eol});
  }
  return replace_file_atomically(path, join_lines(lines));
}

}  // namespace tenji::platform
