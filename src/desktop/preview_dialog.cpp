#include "desktop/preview_dialog.h"

#include <algorithm>
#include <cmath>

#include "print/geometry_check.h"
#include "print/page_output.h"
#include "resources/resource_ids.h"
#include "resources/sheet_picture.h"

namespace tenji {

using namespace resources;

namespace {

constexpr double ZOOMS[] = {0.0, 1.0, 1.5, 2.0};  // 0: fitted
constexpr int ZOOM_COUNT = static_cast<int>(std::size(ZOOMS));

}  // namespace

PreviewDialog::PreviewDialog(ui::Dialog* parent, const PrintSettings& settings, const BrailleDocument& document,
                             std::vector<PageSpan> pages)
    : ui::Dialog(IDD_PREVIEW, parent), settings_(settings), preview_(settings_, document, std::move(pages), 1) {}

bool PreviewDialog::on_init_dialog() {
  set_item_text(IDC_PREVIEW_SUMMARY, summary_text(preview_.summary()));
  show_sheet(1);
  focus_item(IDC_PREVIEW_TEXT);
  return false;
}

void PreviewDialog::show_sheet(int n) {
  sheet_ = std::clamp(n, 1, std::max(1, preview_.sheet_count()));
  enable_item(IDC_PREVIEW_PREVIOUS, sheet_ > 1);
  enable_item(IDC_PREVIEW_NEXT, sheet_ < preview_.sheet_count());
  set_item_text(IDC_PREVIEW_TEXT, preview_.braille_text(sheet_));
  // Names the text anew: a screen reader says the page where the focus is.
  set_item_text(IDC_PREVIEW_TEXT_LABEL, "点字 " + std::to_string(sheet_) + " / " +
                                            std::to_string(preview_.sheet_count()) + " ページ");
  show_picture();
}

void PreviewDialog::show_picture() {
  const PaperSize paper = paper_size(settings_.PAPER_SIZE);
  const double across = paper.across_mm + 2 * SHEET_MARGIN_MM, down = paper.down_mm + 2 * SHEET_MARGIN_MM;
  const ui::Dialog::PixelSize room = item_pixel_size(IDC_PREVIEW_PAGE);
  // True size is the screen's own millimetre.
  const double px_per_mm = zoom_ == 0 ? std::min(room.width / across, room.height / down)
                                      : ZOOMS[zoom_] * screen_dpi() / 25.4;
  const PrintArea area{settings_.START_X, settings_.START_Y, settings_.END_X, settings_.END_Y};
  set_item_picture(IDC_PREVIEW_PAGE,
                   to_argb(sheet_picture(sheet_drawing(preview_.sheet(sheet_), paper, area), std::max(px_per_mm, 0.5))));
  set_item_text(IDC_PREVIEW_ZOOM,
                zoom_ == 0 ? "拡大率 全体" : "拡大率 " + std::to_string(std::lround(ZOOMS[zoom_] * 100)) + "%");
}

bool PreviewDialog::on_command(int id, int notification) {
  switch (id) {
    case IDC_PREVIEW_PREVIOUS: show_sheet(sheet_ - 1); return true;
    case IDC_PREVIEW_NEXT: show_sheet(sheet_ + 1); return true;
    case ID_PREVIEW_FIRST: show_sheet(1); return true;
    case ID_PREVIEW_LAST: show_sheet(preview_.sheet_count()); return true;
    case ID_PREVIEW_ZOOM_IN:
    case ID_PREVIEW_ZOOM_OUT:
      zoom_ = std::clamp(zoom_ + (id == ID_PREVIEW_ZOOM_IN ? 1 : -1), 0, ZOOM_COUNT - 1);
      show_picture();
      return true;
    case IDC_PREVIEW_PRINT: end_dialog(IDC_PREVIEW_PRINT); return true;
    default: return ui::Dialog::on_command(id, notification);
  }
}

}  // namespace tenji
