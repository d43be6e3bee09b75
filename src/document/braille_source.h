// A Braille document from any of the four sources it may come in: NRK
// (signature "%NRQ"), PEF (XML), Unicode Braille text (UTF-8 of
// U+2800-U+283F, or UTF-16 with a byte-order mark), and BRF (North American
// Braille ASCII). The extension says which: .nrk, .pef and .brf are read as
// what they are named, .txt as text (Unicode Braille or BRF by content).
// Content decides only when the name says nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/braille_document.h"
#include "document/pef_reader.h"

namespace tenji {

enum class SourceKind { nrk, pef, braille_text, brf };
const char* source_kind_name(SourceKind kind);

struct SourceRead {
  bool ok = false;
  SourceKind kind = SourceKind::nrk;
  bool utf16 = false;  // the text came as UTF-16
  // When not ok: what the user is told, naming the file and the line and
  // column (or the element) of the first fault.
  std::string message;
  std::optional<PefInfo> pef;  // for a PEF file: its layouts and what is not printed
};

// What the user is told before printing: a PEF made for another layout than
// the settings' (the settings' own is used), sections that differ from the
// first, both sides of the paper (each side prints on a sheet of its own),
// row gaps that are not kept, rows that are not printed. Empty when none.
std::string reading_notes(const SourceRead& read, int cpl, int lpp);

// What a file of this name and first piece (up to 64 KB, as it is on disk)
// would be read as: the name first, the content when the name says nothing.
SourceKind recognise_source(std::string_view head, const std::string& path);

// Appends the file's lines and page breaks to `document`.
SourceRead read_braille_source(const std::string& path, BrailleDocument& document);

// "点字ファイル (*.nrk *.brf *.pef *.txt)" and every file, for the open dialog.
inline constexpr const char* BRAILLE_FILE_FILTER = "点字ファイル (*.nrk *.brf *.pef *.txt)|*.nrk;*.brf;*.pef;*.txt|すべてのファイル (*.*)|*.*||";

}  // namespace tenji
