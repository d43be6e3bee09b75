// A Braille document from any of the four sources it may come in, told
// apart by content: NRK (signature "%NRQ"), PEF (XML), Unicode Braille text
// (UTF-8 of U+2800-U+283F), and BRF (North American Braille ASCII). The
// extension is a hint: a .nrk or .pef file is read as what it says.
#pragma once

#include <optional>
#include <string>

#include "document/braille_document.h"
#include "document/pef_reader.h"

namespace tenji {

enum class SourceKind { nrk, pef, braille_text, brf };
const char* source_kind_name(SourceKind kind);

struct SourceRead {
  bool ok = false;
  SourceKind kind = SourceKind::nrk;
  // When not ok: what the user is told, naming the file and the line and
  // column (or the element) of the first fault.
  std::string message;
  std::optional<PefLayout> pef;  // for a PEF file: the layout it was made for
};

// What the user is told when a PEF file was made for another layout than the
// settings' (the settings' own is used), or for both sides of the paper
// (each side prints on a sheet of its own); empty when neither.
std::string pef_layout_note(const PefLayout& pef, int cpl, int lpp);

// Appends the file's lines and page breaks to `document`.
SourceRead read_braille_source(const std::string& path, BrailleDocument& document);

// "点字ファイル (*.nrk *.brf *.pef *.txt)" and every file, for the open dialog.
inline constexpr const char* BRAILLE_FILE_FILTER = "点字ファイル (*.nrk *.brf *.pef *.txt)|*.nrk;*.brf;*.pef;*.txt|すべてのファイル (*.*)|*.*||";

}  // namespace tenji
