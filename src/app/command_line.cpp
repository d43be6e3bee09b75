#include "app/command_line.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/interrupt_watch.h"
#include "app/preview_output.h"
#include "app/terminal_observer.h"
#include "config/settings_file.h"
#include "config/value_text.h"
#include "document/braille_file_reader.h"
#include "document/braille_source.h"
#include "print/emboss_job.h"
#include "print/page_plan.h"
#include "print/print_choice.h"
#include "platform/console_text.h"
#include "platform/executable_path.h"
#include "print/preview.h"
#include "print/printing_flag.h"
#include "serial/port_list.h"
#include "serial/serial_port.h"

namespace tenji {

namespace {

constexpr const char* VERSION = TENJI_VERSION;

constexpr const char* USAGE =
    "使い方: tenjiprint [--settings 設定ファイル] コマンド ...\n"
    "\n"
    "  print ファイル [--copies 部数] [--force] [--pages all|N|M-N [--from-line 行]]\n"
    "        点字の文書（NRK、BRF、PEF、Unicode 点字テキスト。中身で見分けます）を\n"
    "        印刷します。--pages なしでは最初のページ（LPP 行）を、--pages では全\n"
    "        ページか M〜N ページを印刷します（改ページ文字や PEF の page で次のペ\n"
    "        ージになります）。--from-line はその最初のページを L 行目から続けます\n"
    "        （ほかの行は元の位置のまま）。印刷領域に収まらない文書（--pages なし\n"
    "        で LPP 行を超える、CPL マスを超える行がある）や行のない文書は印刷しま\n"
    "        せん。--force で収まる分だけ印刷します。点が用紙の外に出る設定値（や\n"
    "        数でない設定値）は、その値を示していつも断ります。\n"
    "  preview ファイル [--copies 部数] [--force] [--pages all|N|M-N [--from-line 行]]\n"
    "          [--out フォルダー] [--side raised|emboss]\n"
    "        print が打ち出すものを、何も送らずに示します。概要のあと、各ページを\n"
    "        Unicode 点字テキストで、マスを打つ位置に示します（点字ディスプレイで\n"
    "        読めます）。--out ではページごとに原寸の SVG と PNG、全体の点を JSON\n"
    "        （仮想点字プリンターと同じ形）で書きます。--side emboss は点字プリン\n"
    "        ターが打つ向き（裏返し）で、既定は読む向き（raised）です。\n"
    "  pitch-test X Y\n"
    "        装置座標 X、Y（ステップ）に６点のマスを１つ打ちます\n"
    "  ports\n"
    "        シリアルポートを一覧にします（COM 番号、装置、つながっているもの）。\n"
    "        設定のポートに * が付きます\n"
    "  port-info\n"
    "        設定のポートを開いて、その状態を示します\n"
    "\n"
    "  --settings 設定ファイル   プログラムの横の設定ファイルの代わりに使います\n"
    "  --help、--version\n"
    "\n"
    "Ctrl-C で印刷を中止します。打っているマスを終えて CR を送り、点字プリンター\n"
    "が最後のバイトを受け取ったところで終わります。\n"
    "終了コード: 0 完了、1 印刷できなかった、2 文書でない・引数の誤り、\n"
    "3 文書が収まらない、130 中止。\n";

struct Options {
  std::string settings_path;
  std::vector<std::string> words;
  int copies = 1;
  bool force = false;
  std::optional<PageRange> pages;  // --pages: whole documents, or a range
  int from_line = 1;
  PreviewOptions preview;
};

// Whole numbers only: "12" and "１２" yes, "12x", "" and "-1" no.
bool parse_count(const std::string& typed, int max, int& value) {
  const std::string text = ascii_number_text(typed);
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  value = text_to_int(text);
  return value <= max;
}

class Command {
 public:
  Command(const Options& o, std::FILE* out, std::FILE* err) : o_(o), out_(out), err_(err) {}

  int print() {
    Chosen c;
    if (const int refused = choose(c, "print")) return refused;
    return emboss(c.settings, c.document, o_.words[1].c_str(), o_.copies, 0, std::move(c.pages));
  }

  // What print would raise, and nothing sent: the same choices and refusals.
  int preview() {
    Chosen c;
    if (const int refused = choose(c, "preview")) return refused;
    const Preview preview(c.settings, c.document, std::move(c.pages), o_.copies);
    return write_preview(preview, c.settings, o_.words[1], o_.preview, out_, err_);
  }

  int pitch_test() {
    if (o_.words.size() != 3) return bad_usage("pitch-test には X と Y を指定します");
    int x = 0, y = 0;
    if (!parse_count(o_.words[1], 9999, x) || !parse_count(o_.words[2], 9999, y))
      return bad_usage("X と Y は 0〜9999 の整数です");
    PrintSettings settings;
    if (!load_settings(settings)) return EXIT_BAD_INPUT;
    settings.PITCH_X = x;
    settings.PITCH_Y = y;
    BrailleDocument document;
    document.append_line(make_braille_line("\xDF"));
    const std::string exe = platform::executable_path();
    return emboss(settings, document, exe.c_str(), 1, 1);
  }

  int port_info() {
    if (o_.words.size() != 1) return bad_usage("port-info に引数はありません");
    PrintSettings settings;
    if (!load_settings(settings)) return EXIT_BAD_INPUT;
    const int baud = baud_for_speed_index(settings.COM_SPEED);
    const long long com = static_cast<long long>(settings.COM_PORT) + 1;
    const std::string found = port_label(com);
    const std::string device = found.empty() ? port_device_path(settings.COM_PORT) : found;
    platform::print_text(out_, "COM%lld (%s), %d bit/s\n", com, device.c_str(), baud);
    SerialPort* port = port_open(settings.COM_PORT, baud, 'N', 8, 1);
    const int status = port->status;
    port->dump_port(port, [this](const char* line) { platform::print_text(out_, "%s\n", line); });
    port->close(port);
    if (status != 0) {
      platform::print_text(err_, "COM%lld（%s）を開けませんでした: %s（コード %d、%s）\n", com, device.c_str(),
                   as_error_name(status), status, as_error_meaning(status));
      const std::string denied = port_access_problem(settings.COM_PORT);
      if (!denied.empty()) platform::print_text(err_, "COM%lld%s\n", com, denied.c_str());
      return EXIT_JOB_FAILED;
    }
    return EXIT_DONE;
  }

  // One port a line, the settings' own marked: "* COM3  /dev/ttyUSB0  USB
  // シリアル … (A50285BI)  /dev/serial/by-id/…"; ports without a COM number
  // show "-".
  int ports() {
    if (o_.words.size() != 1) return bad_usage("ports に引数はありません");
    PrintSettings settings;
    if (!load_settings(settings)) return EXIT_BAD_INPUT;
    const std::vector<FoundPort> found = find_ports();
    std::size_t width = 0;
    for (const FoundPort& p : found) width = std::max(width, p.device.size());
    const long long chosen = static_cast<long long>(settings.COM_PORT) + 1;
    bool chosen_found = false;
    // "* COM3   ", "  -      ": the devices start in one column.
    auto number_column = [](bool mine, long long com_number) {
      const std::string number = com_number ? "COM" + std::to_string(com_number) : "-";
      return std::string(mine ? "* " : "  ") + number + std::string(7 - std::min<std::size_t>(number.size(), 6), ' ');
    };
    for (const FoundPort& p : found) {
      const bool mine = p.com_number == chosen;
      chosen_found = chosen_found || mine;
      std::string line = number_column(mine, p.com_number) + p.device + std::string(width - p.device.size() + 2, ' ') +
                         port_description(p);
      if (!p.stable_name.empty()) line += "  " + p.stable_name;
      platform::print_text(out_, "%s\n", line.c_str());
    }
    if (!chosen_found)
      platform::print_text(out_, "%s見つかりません（%s）\n", number_column(true, chosen).c_str(),
                   port_device_path(settings.COM_PORT).c_str());
    return EXIT_DONE;
  }

 private:
  struct Chosen {
    PrintSettings settings;
    BrailleDocument document;
    std::vector<PageSpan> pages;
  };

  // The document and its pages as `verb` takes them, or the refusal's exit
  // code after its message: not a document, does not fit, bad geometry.
  int choose(Chosen& c, const char* verb) {
    if (o_.words.size() != 2) return bad_usage((std::string(verb) + " にはファイルを１つ指定します").c_str());
    PrintSettings& settings = c.settings;
    BrailleDocument& document = c.document;
    if (!load_settings(settings)) return EXIT_BAD_INPUT;
    const SourceRead source = read_braille_source(o_.words[1], document);
    if (!source.ok) {
      platform::print_text(err_, "%s\n", source.message.c_str());
      return EXIT_BAD_INPUT;
    }
    if (const std::string note = reading_notes(source, settings.CPL, settings.LPP); !note.empty())
      platform::print_text(err_, "%s\n", note.c_str());
    if (o_.from_line > 1 && !o_.pages) return bad_usage("--from-line は --pages と一緒に指定します");
    std::optional<PageRange> range = o_.pages;
    if (range) range->from_line = o_.from_line;
    PrintChoice choice = choose_pages(settings, document, range, o_.force);
    switch (choice.refusal) {
      case PrintRefusal::empty:
        platform::print_text(err_, "%s\n%s\n--force で空のまま印刷します。\n", EMPTY_DOCUMENT_MESSAGE, o_.words[1].c_str());
        return EXIT_BAD_INPUT;
      case PrintRefusal::no_such_pages:
        platform::print_text(err_, "ページの指定が文書にありません: 全%dページ%s\n", choice.page_count,
                     o_.from_line > 1 ? "（開始行がそのページにありません）" : "");
        return EXIT_BAD_INPUT;
      case PrintRefusal::geometry:
        platform::print_text(err_, "%s\n%s\n", choice.geometry_problem.c_str(), settings_path_.c_str());
        return EXIT_BAD_INPUT;
      case PrintRefusal::does_not_fit:
      case PrintRefusal::none:
        break;
    }
    const FitCheck& fit = choice.fit;
    if (choice.exceeds_area) {
      platform::print_text(err_, "%s\n", does_not_fit_message(settings, fit).c_str());
      if (choice.refusal == PrintRefusal::does_not_fit) {
        platform::print_text(err_, "--force で収まる分だけ印刷します。%s\n",
                     fit.result == -2 ? "--pages all で全ページを印刷します。" : "");
        return EXIT_DOES_NOT_FIT;
      }
    }
    c.pages = std::move(choice.pages);
    return EXIT_DONE;
  }

  int bad_usage(const char* why) {
    platform::print_text(err_, "tenjiprint: %s\n\n%s", why, USAGE);
    return EXIT_BAD_INPUT;
  }

  // A file that is refused unread stops the command; missing keys are
  // named, and read as 0.
  bool load_settings(PrintSettings& settings) {
    std::string& path = settings_path_;
    path = o_.settings_path;
    if (path.empty()) {
      if (!ensure_settings_file(path)) platform::print_text(err_, "%s\n%s\n", SETTINGS_WRITE_FAILED, path.c_str());
    } else if (!ensure_settings_file_at(path)) {
      platform::print_text(err_, "%s\n%s\n", SETTINGS_WRITE_FAILED, path.c_str());
      return false;
    }
    const SettingsRead read = load_all_keys(path, settings);
    if (!read.complete()) platform::print_text(err_, "%s\n", describe_settings_read(read, path).c_str());
    return read.file == platform::FileCheck::ok;
  }

  int emboss(const PrintSettings& settings, const BrailleDocument& document, const char* path, int copies,
             int pitch_test, std::vector<PageSpan> pages = {}) {
    if (copies < 1) return EXIT_DONE;  // nothing to print, as in the copies dialog
    TerminalObserver observer(err_);
    printing_flag.store(0);
    int done;
    {
      InterruptWatch interrupts;
      start_emboss_job(settings, path, &observer, &document, copies, pitch_test, std::move(pages));
      done = observer.wait();
    }
    if (done != 1) return EXIT_JOB_FAILED;
    return observer.last().cancelled ? EXIT_CANCELLED : EXIT_DONE;
  }

  const Options& o_;
  std::FILE* out_;
  std::FILE* err_;
  std::string settings_path_;
};

}  // namespace

int run_command_line(int argc, char** argv, std::FILE* out, std::FILE* err) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      platform::write_text(out, USAGE);
      return EXIT_DONE;
    }
    if (a == "--version") {
      platform::print_text(out, "tenjiprint %s\n", VERSION);
      return EXIT_DONE;
    }
    if (a == "--settings" || a == "--copies" || a == "--pages" || a == "--from-line" || a == "--out" ||
        a == "--side") {
      if (i + 1 >= argc) {
        platform::print_text(err, "tenjiprint: %s には値を指定します\n", a.c_str());
        return EXIT_BAD_INPUT;
      }
      const std::string v = argv[++i];
      if (a == "--settings") {
        o.settings_path = v;
      } else if (a == "--out") {
        o.preview.out_dir = v;
      } else if (a == "--side") {
        if (v != "raised" && v != "emboss") {
          platform::print_text(err, "tenjiprint: --side には raised か emboss を指定します\n");
          return EXIT_BAD_INPUT;
        }
        o.preview.side = v == "emboss" ? PreviewSide::emboss : PreviewSide::raised;
      } else if (a == "--pages") {
        o.pages = parse_page_range(ascii_number_text(v));
        if (!o.pages) {
          platform::print_text(err, "tenjiprint: --pages には all、N、M-N のどれかを指定します\n");
          return EXIT_BAD_INPUT;
        }
      } else if (a == "--from-line") {
        if (!parse_count(v, BRAILLE_LINE_MAX, o.from_line) || o.from_line < 1) {
          platform::print_text(err, "tenjiprint: --from-line には 1 以上の行番号を指定します\n");
          return EXIT_BAD_INPUT;
        }
      } else if (!parse_count(v, 999, o.copies)) {
        platform::print_text(err, "tenjiprint: --copies には 0〜999 の整数を指定します\n");
        return EXIT_BAD_INPUT;
      }
    } else if (a == "--force") {
      o.force = true;
    } else if (a.rfind("--", 0) == 0) {
      platform::print_text(err, "tenjiprint: %s というオプションはありません\n\n%s", a.c_str(), USAGE);
      return EXIT_BAD_INPUT;
    } else {
      o.words.push_back(a);
    }
  }
  if (o.words.empty()) {
    platform::print_text(err, "tenjiprint: この版にはデスクトップのプログラムがありません。コマンドを指定してください\n\n%s", USAGE);
    return EXIT_BAD_INPUT;
  }
  Command command(o, out, err);
  const std::string& verb = o.words[0];
  if (verb == "print") return command.print();
  if (verb == "preview") return command.preview();
  if (verb == "pitch-test") return command.pitch_test();
  if (verb == "port-info") return command.port_info();
  if (verb == "ports") return command.ports();
  platform::print_text(err, "tenjiprint: %s というコマンドはありません\n\n%s", verb.c_str(), USAGE);
  return EXIT_BAD_INPUT;
}

}  // namespace tenji
