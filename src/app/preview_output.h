// What `tenjiprint preview` shows: the summary and every sheet as Unicode
// Braille text on the terminal, or with --out the sheets as SVG and PNG and
// the whole print's dots as JSON.
#pragma once

#include <cstdio>
#include <string>

#include "config/print_settings.h"
#include "print/preview.h"

namespace tenji {

struct PreviewOptions {
  std::string out_dir;  // empty: text on the terminal
  PreviewSide side = PreviewSide::raised;
};

// The files: "sheet-<n>.svg" and "sheet-<n>.png" per sheet, and
// "preview.json". Returns the exit code.
int write_preview(const Preview& preview, const PrintSettings& settings, const std::string& document_path,
                  const PreviewOptions& options, std::FILE* out, std::FILE* err);

}  // namespace tenji
