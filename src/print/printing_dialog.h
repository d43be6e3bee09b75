// 印刷: carries one print from the choice of a document to the end of the
// job. Its window stays hidden while the document is chosen, read, checked
// and the copies are asked for; it is then shown with Cancel until the job
// posts WM_JOB_DONE.
#pragma once

#include <memory>
#include <string>

#include "config/print_settings.h"
#include "document/braille_document.h"
#include "print/fit_check.h"
#include "print/gui_job_observer.h"
#include "ui/dialog.h"

namespace tenji {

inline constexpr unsigned WM_JOB_DONE = ui::WM_USER + 2;
inline constexpr unsigned WM_SET_COPIES = ui::WM_USER + 3;
inline constexpr unsigned WM_SET_PITCH = ui::WM_USER + 4;

inline constexpr const char* NRK_FILTER = "*.NRK|*.nrk|*.*|*.*||";

class PrintingDialog : public ui::Dialog {
 public:
  static constexpr int ID_CANCEL = 2, ID_TEXT = 1015, ID_PROGRESS = 1030, ID_STATUS = 1031;

  // Clears printing_flag, reads every key of the settings file, creates the
  // empty document.
  PrintingDialog(ui::Dialog* parent, const std::string& settings_path);
  ~PrintingDialog() override;

  PrintSettings settings;
  std::string document_path;
  std::unique_ptr<BrailleDocument> document;
  int copies = 0;
  int pitch_test_mode = 0;

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
  GuiJobObserver observer_;
  bool job_started_ = false;  // WM_JOB_DONE comes from the job, not from an early end
};

// 印刷時の警告: the document does not fit the print area.
class FitWarningDialog : public ui::Dialog {
 public:
  FitWarningDialog(ui::Dialog* parent, int cpl, int lpp, int longest_line, int line_count);

 protected:
  bool on_init_dialog() override;

 private:
  int cpl_, lpp_, longest_line_, line_count_;
};

// The number of copies, sent to the printing dialog with WM_SET_COPIES.
class CopiesDialog : public ui::Dialog {
 public:
  static constexpr int ID_COPIES = 1016;
  explicit CopiesDialog(ui::Dialog* parent) : ui::Dialog(140, parent) {}

 protected:
  bool on_init_dialog() override;
  void on_ok() override;
};

// ピッチ指定１点字印刷: the device position of the test cell, sent with
// WM_SET_PITCH.
class PitchTestDialog : public ui::Dialog {
 public:
  static constexpr int ID_X = 1017, ID_Y = 1018;
  explicit PitchTestDialog(ui::Dialog* parent) : ui::Dialog(142, parent) {}

 protected:
  bool on_init_dialog() override;
  void on_ok() override;
};

}  // namespace tenji
