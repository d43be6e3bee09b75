#pragma once

#include <vector>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/preview.h"
#include "ui/dialog.h"

namespace tenji {

// 印刷プレビュー: the sheets a print will raise, one at a time: the picture
// (fitted to its room, or at true size and larger), the sheet's Braille in a
// read-only text that has the focus (a screen reader reads it, a Braille
// display shows it), and what the print amounts to. PageDown, PageUp, Home
// and End turn the sheets, Ctrl++ and Ctrl+- zoom. The dialog ends with
// IDC_PREVIEW_PRINT when the user goes on to print what is shown.
class PreviewDialog : public ui::Dialog {
 public:
  // The document must outlive the dialog.
  PreviewDialog(ui::Dialog* parent, const PrintSettings& settings, const BrailleDocument& document,
                std::vector<PageSpan> pages);

  int sheet() const { return sheet_; }
  const Preview& preview() const { return preview_; }

 protected:
  bool on_init_dialog() override;
  bool on_command(int id, int notification) override;

 private:
  void show_sheet(int n);
  void show_picture();

  const PrintSettings settings_;
  const Preview preview_;
  int sheet_ = 1;
  // 0: the sheet fitted to its room; then true size, 150 % and 200 %.
  int zoom_ = 0;
};

}  // namespace tenji
