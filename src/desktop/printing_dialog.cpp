#include "desktop/printing_dialog.h"

#include "config/settings_file.h"
#include "desktop/copies_dialog.h"
#include "desktop/fit_warning_dialog.h"
#include "desktop/page_range_dialog.h"
#include "document/braille_source.h"
#include "desktop/pitch_test_dialog.h"
#include "desktop/preview_dialog.h"
#include "desktop/window_messages.h"
#include "document/braille_file_reader.h"
#include "platform/executable_path.h"
#include "print/emboss_job.h"
#include "print/geometry_check.h"
#include "print/printing_flag.h"
#include "print/progress_text.h"
#include "resources/resource_ids.h"
#include "ui/ui_services.h"

namespace tenji {

using namespace resources;

PrintingDialog::PrintingDialog(ui::Dialog* parent, const std::string& settings_path)
    : ui::Dialog(IDD_PRINTING, parent), observer_(*this) {
  printing_flag.store(0);
  settings_read_ = load_all_keys(settings_path, settings);
  settings_problem_ = describe_settings_read(settings_read_, settings_path);
  document = std::make_unique<BrailleDocument>();
}

PrintingDialog::~PrintingDialog() = default;

bool PrintingDialog::on_init_dialog() {
  if (pitch_test_mode != 0)
    run_pitch_test();
  else
    run_print_flow();
  return true;
}

int PrintingDialog::choose_and_read_document() {
  const auto chosen = ui::ui_services().open_file(this, BRAILLE_FILE_FILTER);  // one file only
  if (!chosen) return -1;
  document_path = *chosen;
  const SourceRead source = read_braille_source(document_path, *document);
  if (!source.ok) {
    ui::ui_services().message_box(this, source.message, "", platform::MessageIcon::none, ui::MessageButtons::ok);
    return -1;
  }
  if (const std::string note = reading_notes(source, settings.CPL, settings.LPP); !note.empty())
    ui::ui_services().message_box(this, note, "", platform::MessageIcon::information, ui::MessageButtons::ok);
  return 0;
}

FitCheck PrintingDialog::check_fit() const { return tenji::check_fit(settings, *document); }

void PrintingDialog::run_print_flow() {
  auto stop = [this] { post_message(WM_JOB_DONE, 2, 0); };
  if (!settings_accepted()) return stop();
  if (choose_and_read_document() != 0) return stop();
  // A document longer than a page, or of several source pages, may print
  // whole: the fit warning offers it, and a range step follows.
  const std::vector<PageSpan> all_pages = paginate(*document, settings.LPP);
  const bool several_pages = all_pages.size() > 1;
  bool whole = several_pages && !document->page_breaks().empty();
  const FitCheck fit = check_fit();
  if (fit.result < 0) {
    FitWarningDialog warning(this, settings.CPL, settings.LPP, fit.longest_line, fit.line_count, several_pages);
    const int choice = warning.do_modal();
    if (choice == ui::IDCANCEL) return stop();
    whole = choice == IDC_FIT_ALL_PAGES;
  }
  pages.clear();
  if (whole) {
    PageRangeDialog range(this, all_pages);
    if (range.do_modal() != ui::IDOK) return stop();
    pages = select_pages(all_pages, range.range());
  } else {
    pages = first_page_only(*document, settings.LPP);
  }
  if (const auto problem = check_geometry(settings, *document, pages)) {
    ui::ui_services().message_box(this, *problem, "", platform::MessageIcon::warning, ui::MessageButtons::ok);
    return stop();
  }
  if (preview_first && PreviewDialog(this, settings, *document, pages).do_modal() != IDC_PREVIEW_PRINT) return stop();
  CopiesDialog copies_dialog(this);
  if (copies_dialog.do_modal() == ui::IDCANCEL) return stop();
  if (copies < 1) return stop();
  job_started_ = true;
  start_emboss_job(settings, document_path.c_str(), &observer_, document.get(), copies, 0, pages);
}

// A settings file that could not be read whole is named before anything
// else; the user decides whether to go on with zeros.
bool PrintingDialog::settings_accepted() {
  return settings_problem_.empty() ||
         ui::ui_services().message_box(this, settings_problem_ + "\n印刷を続けますか？", "",
                                       platform::MessageIcon::warning, ui::MessageButtons::ok_cancel) == ui::IDOK;
}

void PrintingDialog::run_pitch_test() {
  if (!settings_accepted()) {
    post_message(WM_JOB_DONE, 2, 0);
    return;
  }
  document->append_line(make_braille_line("\xDF"));
  const std::string exe = platform::executable_path();
  PitchTestDialog pitch(this);
  if (pitch.do_modal() == ui::IDCANCEL) {
    post_message(WM_JOB_DONE, 2, 0);  // the port is left untouched
    return;
  }
  job_started_ = true;
  start_emboss_job(settings, exe.c_str(), &observer_, document.get(), 1, 1);
}

void PrintingDialog::on_cancel() {
  // The dialog stays: the job stops after its cell and posts WM_JOB_DONE.
  cancel_printing();
  enable_item(IDCANCEL, false);
  set_item_text(IDC_PRINTING_STATUS, "取り消しています．．．");
}

std::intptr_t PrintingDialog::window_proc(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  switch (message) {
    case WM_JOB_DONE:
      if (job_started_) {
        observer_.acknowledge_done();
        end_text = describe_end(observer_.take_progress(), static_cast<int>(wparam));
      }
      end_dialog(static_cast<int>(wparam));
      return 0;
    case WM_SET_COPIES:
      copies = static_cast<int>(wparam);
      return 0;
    case WM_SET_PITCH:
      settings.PITCH_X = static_cast<int>(wparam);
      settings.PITCH_Y = static_cast<int>(lparam);
      return 0;
    case WM_JOB_MESSAGE:
      GuiJobObserver::show_job_message(*this, lparam);
      return 0;
    case WM_JOB_PROGRESS:
      show_progress();
      return 0;
    default:
      return ui::Dialog::window_proc(message, wparam, lparam);
  }
}

void PrintingDialog::show_progress() {
  const JobProgress p = observer_.take_progress();
  const int permille = p.bytes_total > 0 ? static_cast<int>(1000.0 * static_cast<double>(bytes_at_embosser(p)) /
                                                            static_cast<double>(p.bytes_total))
                                         : 0;
  if (p.bytes_total > 0) set_progress(IDC_PRINTING_PROGRESS, permille);
  if (!item_enabled(IDCANCEL)) return;
  // The status line changes a few times a second; a screen reader hears it
  // every tenth of the job or every ten seconds.
  const auto now = std::chrono::steady_clock::now();
  if (permille - spoken_permille_ >= 100 || now - spoken_at_ >= std::chrono::seconds(10)) {
    spoken_permille_ = permille;
    spoken_at_ = now;
    set_item_text(IDC_PRINTING_STATUS, describe_progress(p, false));
  } else {
    set_item_text_unspoken(IDC_PRINTING_STATUS, describe_progress(p, false));
  }
}

}  // namespace tenji
