#include "desktop/page_range_dialog.h"

#include "config/value_text.h"
#include "resources/resource_ids.h"
#include "ui/ui_services.h"

namespace tenji {

using namespace resources;

PageRangeDialog::PageRangeDialog(ui::Dialog* parent, std::vector<PageSpan> pages)
    : ui::Dialog(IDD_PAGE_RANGE, parent), pages_(std::move(pages)) {}

bool PageRangeDialog::on_init_dialog() {
  set_item_text(IDC_RANGE_PAGES, "全 " + format_int(static_cast<int>(pages_.size())) + " ページ");
  for (int id : {IDC_RANGE_FROM, IDC_RANGE_TO, IDC_RANGE_LINE}) limit_text(id, 5);
  set_item_text(IDC_RANGE_FROM, "1");
  set_item_text(IDC_RANGE_TO, format_int(static_cast<int>(pages_.size())));
  set_item_text(IDC_RANGE_LINE, "1");
  focus_item(IDC_RANGE_FROM);
  return true;
}

void PageRangeDialog::on_ok() {
  PageRange r;
  r.from = typed_int(item_text(IDC_RANGE_FROM));
  r.to = typed_int(item_text(IDC_RANGE_TO));
  r.from_line = typed_int(item_text(IDC_RANGE_LINE));
  if (r.to < r.from || select_pages(pages_, r).empty()) {
    // The dialog stays, with what was typed, until the pages exist.
    ui::ui_services().message_box(this,
                                  "1から" + format_int(static_cast<int>(pages_.size())) +
                                      "までのページと、開始ページにある行を指定してください。",
                                  "", platform::MessageIcon::warning, ui::MessageButtons::ok);
    return;
  }
  range_ = r;
  end_dialog(ui::IDOK);
}

}  // namespace tenji
