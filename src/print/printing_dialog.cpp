#include "print/printing_dialog.h"

#include "config/settings_file.h"
#include "config/value_text.h"
#include "document/braille_file_reader.h"
#include "platform/executable_path.h"
#include "print/emboss_job.h"
#include "print/printing_flag.h"
#include "print/progress_text.h"
#include "ui/ui_services.h"

namespace tenji {

PrintingDialog::PrintingDialog(ui::Dialog* parent, const std::string& settings_path)
    : ui::Dialog(139, parent), observer_(*this) {
  printing_flag.store(0);
  load_all_keys(settings_path, settings);
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
  const auto chosen = ui::ui_services().open_file(this, NRK_FILTER);  // one file only
  if (!chosen) return -1;
  document_path = *chosen;
  BrailleFileReader reader(document_path.c_str());
  const int result = reader.read(document.get());
  if (result != 0)
    ui::ui_services().message_box(this, NOT_A_DOCUMENT_MESSAGE, "", platform::MessageIcon::none,
                                  ui::MessageButtons::ok);
  return result;
}

FitCheck PrintingDialog::check_fit() const { return tenji::check_fit(settings, *document); }

void PrintingDialog::run_print_flow() {
  auto stop = [this] { post_message(WM_JOB_DONE, 2, 0); };
  if (choose_and_read_document() != 0) return stop();
  const FitCheck fit = check_fit();
  if (fit.result < 0) {
    FitWarningDialog warning(this, settings.CPL, settings.LPP, fit.longest_line, fit.line_count);
    if (warning.do_modal() == ui::IDCANCEL) return stop();
  }
  CopiesDialog copies_dialog(this);
  if (copies_dialog.do_modal() == ui::IDCANCEL) return stop();
  if (copies < 1) return stop();
  job_started_ = true;
  start_emboss_job(settings, document_path.c_str(), &observer_, document.get(), copies, 0);
}

void PrintingDialog::run_pitch_test() {
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
  enable_item(ID_CANCEL, false);
  set_item_text(ID_STATUS, "取り消しています．．．");
}

std::intptr_t PrintingDialog::window_proc(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  switch (message) {
    case WM_JOB_DONE:
      if (job_started_) observer_.acknowledge_done();
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
  if (p.bytes_total > 0)
    set_progress(ID_PROGRESS, static_cast<int>(1000.0 * static_cast<double>(p.bytes_sent) /
                                                static_cast<double>(p.bytes_total)));
  if (item_enabled(ID_CANCEL)) set_item_text(ID_STATUS, describe_progress(p, false));
}

FitWarningDialog::FitWarningDialog(ui::Dialog* parent, int cpl, int lpp, int longest_line, int line_count)
    : ui::Dialog(138, parent), cpl_(cpl), lpp_(lpp), longest_line_(longest_line), line_count_(line_count) {}

bool FitWarningDialog::on_init_dialog() {
  set_item_text(1019, format_int(cpl_));
  set_item_text(1021, format_int(lpp_));
  set_item_text(1020, format_int(longest_line_));
  set_item_text(1022, format_int(line_count_));
  return true;
}

bool CopiesDialog::on_init_dialog() {
  limit_text(ID_COPIES, 3);
  set_item_text(ID_COPIES, "1");
  focus_item(ID_COPIES);
  return true;
}

void CopiesDialog::on_ok() {
  // Leading digits count; text without digits gives 0.
  const int n = text_to_int(item_text(ID_COPIES));
  if (parent()) parent()->send_message(WM_SET_COPIES, static_cast<std::uintptr_t>(n < 0 ? 0 : n), 0);
  end_dialog(ui::IDOK);
}

bool PitchTestDialog::on_init_dialog() {
  limit_text(ID_X, 4);
  set_item_text(ID_X, "0");
  limit_text(ID_Y, 4);
  set_item_text(ID_Y, "0");
  return true;
}

void PitchTestDialog::on_ok() {
  const int x = text_to_int(item_text(ID_X));
  const int y = text_to_int(item_text(ID_Y));
  if (parent())
    parent()->send_message(WM_SET_PITCH, static_cast<std::uintptr_t>(x), static_cast<std::intptr_t>(y));
  end_dialog(ui::IDOK);
}

}  // namespace tenji
