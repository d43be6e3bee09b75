// The text of a profile (INI) file as the platform's profile functions see
// it: a UTF-8 or UTF-16 byte-order mark is honoured, lines end at LF, or at
// CR in a file that has no LF. Edits keep every other line byte for byte and
// the file's own encoding and line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tenji::platform {

class ProfileText {
 public:
  enum class Encoding { plain, utf8_bom, utf16le, utf16be };

  static ProfileText decode(const std::string& bytes);
  std::string encode() const;

  // The value of `key` in `section` (names match without regard to ASCII
  // case; surrounding quotes are dropped), or nothing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // The keys of `section` in file order; nothing when there is no such section.
  std::optional<std::vector<std::string>> keys(std::string_view section) const;
  // Sets a key, adding the section or the key when missing. False for names
  // or values that would break the format.
  bool set(std::string_view section, std::string_view key, std::string_view value);

  Encoding encoding() const { return encoding_; }

 private:
  struct Line {
    std::string text;  // UTF-8 (or the file's own bytes), without its line end
    std::string eol;   // "\r\n", "\n", "\r" or "" for a last line without one
  };
  struct Range {
    std::size_t header, end;
  };
  std::optional<Range> find_section(std::string_view section) const;
  std::optional<std::size_t> find_key(const Range& range, std::string_view key) const;
  std::string eol() const;

  Encoding encoding_ = Encoding::plain;
  std::vector<Line> lines_;
};

}  // namespace tenji::platform
