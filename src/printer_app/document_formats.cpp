#include "printer_app/document_formats.h"

namespace tenji::server {

namespace {

bool starts_with(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// Formats that are plainly not Braille, though their bytes may pass for BRF.
bool other_known_format(std::string_view head) {
  return starts_with(head, "%PDF") || starts_with(head, "%!") || starts_with(head, "\x89PNG") ||
         starts_with(head, "\xFF\xD8\xFF") || starts_with(head, "RaS2") || starts_with(head, "UNIRAST") ||
         starts_with(head, "GIF8") || starts_with(head, "PK\x03\x04");
}

// BRF is printable ASCII with line ends and form feeds; anything else
// (control bytes, NUL) is no text document.
bool plain_text(std::string_view head) {
  for (unsigned char c : head)
    if (c < 0x20 && c != '\n' && c != '\r' && c != '\f' && c != '\t' && c != 0x1A) return false;
  return true;
}

}  // namespace

const char* format_by_content(std::string_view head) {
  if (head.empty() || other_known_format(head)) return nullptr;
  switch (recognise_source(head, "")) {
    case SourceKind::nrk: return NRK_FORMAT;
    case SourceKind::pef: return PEF_FORMAT;
    case SourceKind::braille_text: return TEXT_FORMAT;
    case SourceKind::brf: return plain_text(head) ? BRF_FORMAT : nullptr;
  }
  return nullptr;
}

std::string extension_for_format(std::string_view mime_type) {
  if (mime_type == NRK_FORMAT) return ".nrk";
  if (mime_type == BRF_FORMAT) return ".brf";
  if (mime_type == PEF_FORMAT) return ".pef";
  if (starts_with(mime_type, "text/plain")) return ".txt";
  return "";
}

}  // namespace tenji::server
