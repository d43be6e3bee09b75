// 印刷: carries one print from the choice of a document to the end of the
// job. Its window stays hidden while the document is chosen, read, checked
// and the copies are asked for; it is then shown with Cancel until the job
// posts WM_JOB_DONE.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "config/print_settings.h"
#include "config/settings_file.h"
#include "document/braille_document.h"
#include "desktop/gui_job_observer.h"
#include "print/fit_check.h"
#include "print/page_plan.h"
#include "ui/dialog.h"

namespace tenji {


class PrintingDialog : public ui::Dialog {
 public:
  // Clears printing_flag, reads every key of the settings file, creates the
  // empty document.
  PrintingDialog(ui::Dialog* parent, const std::string& settings_path);
  ~PrintingDialog() override;

  PrintSettings settings;
  std::string document_path;
  std::unique_ptr<BrailleDocument> document;
  int copies = 0;
  int pitch_test_mode = 0;
  // プレビュー: the preview comes after the choices; the print goes on only
  // from its 印刷.
  bool preview_first = false;
  std::vector<PageSpan> pages;  // what the range step chose; empty: the first page
  // After do_modal: how the job ended, for the main window to tell; empty
  // when no job started.
  std::string end_text;

  // 0, or -1 when the file dialog was cancelled, or the reader's failure
  // (after the message has been shown).
  int choose_and_read_document();
  FitCheck check_fit() const;
  void run_print_flow();
  void run_pitch_test();

 protected:
  bool on_init_dialog() override;
  void on_cancel() override;
  std::intptr_t window_proc(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;

 private:
  void show_progress();
  bool settings_accepted();
  GuiJobObserver observer_;
  SettingsRead settings_read_;
  std::string settings_problem_;  // what is wrong with the settings file, or empty
  bool job_started_ = false;  // WM_JOB_DONE comes from the job, not from an early end
  // What a screen reader last heard of the progress, and when.
  int spoken_permille_ = -1000;
  std::chrono::steady_clock::time_point spoken_at_{};
};

}  // namespace tenji
