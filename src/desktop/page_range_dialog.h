#pragma once

#include <vector>

#include "print/page_plan.h"
#include "ui/dialog.h"

namespace tenji {

// 印刷するページ: from page to page (all of them to begin with), and the line
// of the first page to start at. IDOK leaves the choice in range().
class PageRangeDialog : public ui::Dialog {
 public:
  PageRangeDialog(ui::Dialog* parent, std::vector<PageSpan> pages);
  const PageRange& range() const { return range_; }

 protected:
  bool on_init_dialog() override;
  void on_ok() override;

 private:
  std::vector<PageSpan> pages_;
  PageRange range_;
};

}  // namespace tenji
