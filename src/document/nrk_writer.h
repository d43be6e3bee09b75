// Writes Braille document files that the reader reads back to the same
// cells: the signature block, the marker at offset 512, then the body.
#pragma once

#include <string>
#include <vector>

namespace tenji {

// The first 1025 bytes of a document file: "%NRQ" and spaces up to 512, the
// marker 0xFF at 512, zeros up to 1024, and the 0xFF that the body follows.
std::string nrk_prefix();

// The body records for lines of cell bytes: each line is 0x0D and its cells;
// 0x0D 0xF4 0xFF closes the last line and ends the document.
std::string nrk_records(const std::vector<std::string>& lines);

// The length field for `records` (16-bit, or 0 and a 32-bit length when the
// body is too long for 16 bits) followed by the records.
std::string nrk_body(const std::string& records);

// A whole file.
std::string encode_nrk(const std::vector<std::string>& lines);

}  // namespace tenji
