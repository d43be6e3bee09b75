// The documents the printer application takes, by MIME type: NRK, BRF, PEF
// and Unicode Braille text. A document sent as application/octet-stream is
// recognised by its content, as the command line recognises a file without
// a telling name.
#pragma once

#include <string>
#include <string_view>

#include "document/braille_source.h"

namespace tenji::server {

inline constexpr const char* NRK_FORMAT = "application/x-nrk";
inline constexpr const char* BRF_FORMAT = "application/vnd.cups-brf";
inline constexpr const char* PEF_FORMAT = "application/x-pef+xml";
// Without a space after the semicolon: what IPP clients send and check.
inline constexpr const char* TEXT_FORMAT = "text/plain;charset=utf-8";

inline constexpr const char* DOCUMENT_FORMATS[] = {NRK_FORMAT, BRF_FORMAT, PEF_FORMAT, TEXT_FORMAT};

// The format of a document whose first bytes are `head`; nullptr when it is
// none of ours (a PDF, an image).
const char* format_by_content(std::string_view head);

// The file name ending the readers take the format by: ".nrk", ".brf",
// ".pef", ".txt" (text of either kind, by content); "" for any other type.
std::string extension_for_format(std::string_view mime_type);

}  // namespace tenji::server
