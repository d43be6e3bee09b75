#include "printer_app/braille_print_job.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "config/settings_file.h"
#include "document/braille_file_reader.h"
#include "document/braille_source.h"
#include "print/emboss_job.h"
#include "print/print_choice.h"
#include "print/printing_flag.h"
#include "serial/com_device_path.h"
#include "printer_app/device_uri.h"
#include "printer_app/document_formats.h"
#include "printer_app/pappl_job_observer.h"
#include "printer_app/server_config.h"

namespace tenji::server {

namespace {

// Ends the job with a reason the client reads in job-state-message.
bool refuse(pappl_job_t* job, const std::string& why, pappl_jreason_t reason) {
  const std::string line = one_line(why);
  papplLogJob(job, PAPPL_LOGLEVEL_ERROR, "%s", line.c_str());
  papplJobSetMessage(job, "%s", line.c_str());
  papplJobSetReasons(job, reason, PAPPL_JREASON_NONE);
  return false;
}

// The readers take a document's kind from its name: the spooled file gets
// one for its format, as a link beside it.
class NamedSpoolFile {
 public:
  NamedSpoolFile(const char* spooled, const char* format) {
    const std::string ext = extension_for_format(format ? format : "");
    path_ = spooled;
    if (ext.empty()) return;
    const std::string named = path_ + ext;
    if (::link(spooled, named.c_str()) == 0) path_ = named, linked_ = true;
  }
  ~NamedSpoolFile() {
    if (linked_) ::unlink(path_.c_str());
  }
  NamedSpoolFile(const NamedSpoolFile&) = delete;
  NamedSpoolFile& operator=(const NamedSpoolFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool linked_ = false;
};

// Without page-ranges a job prints the whole document. PAPPL takes one
// range only, as --pages does.
PageRange page_range_of(pappl_job_t* job) {
  PageRange range;
  ipp_attribute_t* attr = papplJobGetAttribute(job, "page-ranges");
  if (!attr) return range;
  int upper = 0;
  range.from = ippGetRange(attr, 0, &upper);
  range.to = upper;
  return range;
}

bool port_is_there(int com) {
  struct stat st {};
  return ::stat(com_device_path(com).c_str(), &st) == 0;
}

// A port that is not there (an adapter unplugged, the embosser's cable out)
// holds the queue with the printer offline until it comes back; false when
// the job was cancelled or the server stops meanwhile.
bool wait_for_port(pappl_job_t* job, pappl_printer_t* printer, int com) {
  if (port_is_there(com)) return true;
  const std::string why = "点字プリンターのポート COM" + std::to_string(com) + "（" + com_device_path(com) +
                          "）がありません。つながるのを待っています。";
  papplLogJob(job, PAPPL_LOGLEVEL_WARN, "%s", why.c_str());
  papplJobSetMessage(job, "%s", why.c_str());
  papplPrinterSetReasons(printer, PAPPL_PREASON_OFFLINE, PAPPL_PREASON_NONE);
  pappl_system_t* system = papplPrinterGetSystem(printer);
  while (!port_is_there(com)) {
    if (papplJobIsCanceled(job) || papplSystemIsShutdown(system)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  papplPrinterSetReasons(printer, PAPPL_PREASON_NONE, PAPPL_PREASON_OFFLINE);
  return true;
}

int copies_of(pappl_job_t* job) {
  ipp_attribute_t* attr = papplJobGetAttribute(job, "copies");
  return attr ? ippGetInteger(attr, 0) : 1;
}

}  // namespace

bool emboss_pappl_job(pappl_job_t* job, pappl_device_t*, void*) {
  const ServerConfig& config = server_config();
  pappl_printer_t* printer = papplJobGetPrinter(job);

  // The settings are read for every job: a change on the settings page or
  // in the desktop program holds from the next job on.
  PrintSettings settings;
  std::string settings_path = config.settings_path;
  if (!ensure_settings_file_at(settings_path))
    return refuse(job, settings_write_failed(settings_path), PAPPL_JREASON_ABORTED_BY_SYSTEM);
  const SettingsRead read = load_all_keys(settings_path, settings);
  if (read.file != platform::FileCheck::ok)
    return refuse(job, describe_settings_read(read, settings_path), PAPPL_JREASON_ABORTED_BY_SYSTEM);
  const int com = com_number_of_device_uri(papplPrinterGetDeviceURI(printer));
  if (com == 0) return refuse(job, "点字プリンターのポートがありません。", PAPPL_JREASON_ABORTED_BY_SYSTEM);
  settings.COM_PORT = com - 1;
  if (!wait_for_port(job, printer, com)) {
    if (papplJobIsCanceled(job)) return true;
    return refuse(job, "点字プリンターのポートがないまま、サーバーが止まりました。", PAPPL_JREASON_ABORTED_BY_SYSTEM);
  }

  const NamedSpoolFile file(papplJobGetFilename(job), papplJobGetFormat(job));
  BrailleDocument document;
  const SourceRead source = read_braille_source(file.path(), document);
  if (!source.ok) return refuse(job, source.message, PAPPL_JREASON_DOCUMENT_FORMAT_ERROR);
  if (const std::string note = reading_notes(source, settings.CPL, settings.LPP); !note.empty())
    papplLogJob(job, PAPPL_LOGLEVEL_WARN, "%s", note.c_str());

  const PageRange range = page_range_of(job);
  PrintChoice choice = choose_pages(settings, document, range, config.print_what_fits);
  switch (choice.refusal) {
    case PrintRefusal::empty:
      return refuse(job, EMPTY_DOCUMENT_MESSAGE, PAPPL_JREASON_DOCUMENT_UNPRINTABLE_ERROR);
    case PrintRefusal::no_such_pages:
      return refuse(job, "ページの指定が文書にありません: 全" + std::to_string(choice.page_count) + "ページ",
                    PAPPL_JREASON_DOCUMENT_UNPRINTABLE_ERROR);
    case PrintRefusal::geometry:
      return refuse(job, choice.geometry_problem, PAPPL_JREASON_ABORTED_BY_SYSTEM);
    case PrintRefusal::does_not_fit:
      return refuse(job, does_not_fit_message(settings, choice.fit), PAPPL_JREASON_DOCUMENT_UNPRINTABLE_ERROR);
    case PrintRefusal::none:
      break;
  }

  const int copies = copies_of(job);
  papplJobSetImpressions(job, copies * static_cast<int>(choice.pages.empty() ? 1 : choice.pages.size()));
  PapplJobObserver observer(job);
  printing_flag.store(0);
  start_emboss_job(settings, papplJobGetName(job), &observer, &document, copies, 0, std::move(choice.pages));
  const int result = observer.wait();
  if (result != 1) {
    papplPrinterSetReasons(printer, PAPPL_PREASON_OFFLINE, PAPPL_PREASON_NONE);
    papplJobSetReasons(job, PAPPL_JREASON_ABORTED_BY_SYSTEM, PAPPL_JREASON_NONE);
    return false;
  }
  if (observer.gave_up_on_the_line()) {
    // The line stayed held after the Cancel: the printer needs a hand.
    papplPrinterSetReasons(printer, PAPPL_PREASON_OFFLINE, PAPPL_PREASON_NONE);
    return true;
  }
  papplPrinterSetReasons(printer, PAPPL_PREASON_NONE, PAPPL_PREASON_OFFLINE);
  if (observer.stopped_by_server())
    return refuse(job, "サーバーが止まるため、打っていたマスのあとで印刷をやめました。", PAPPL_JREASON_ABORTED_BY_SYSTEM);
  if (!observer.cancelled()) papplJobSetMessage(job, "印刷しました。");
  return true;
}

}  // namespace tenji::server
