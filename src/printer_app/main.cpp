// tenjiprint-server: the embosser shared over IPP. PAPPL's subcommands
// (server, add, printers, submit, jobs, cancel, status, shutdown, devices …)
// with the embosser driver and the project's document readers.
extern "C" {
#include <pappl/pappl.h>
}

#include <cstdio>
#include <string>

#include "printer_app/embosser_driver.h"
#include "printer_app/server_config.h"
#include "printer_app/server_system.h"

namespace {

void usage(void*) {
  std::printf(
      "使い方: tenjiprint-server サブコマンド [オプション] [ファイル]\n"
      "\n"
      "  server -o listen=localhost|any|ホスト -o server-port=ポート\n"
      "         -o spool-directory=フォルダー -o state-file=ファイル -o log-file=ファイル\n"
      "         -o settings=設定ファイル -o max-document-size=バイト数 -o print-what-fits=yes|no\n"
      "        点字プリンターを IPP で共有します（既定ではこのコンピューターからだけ）。\n"
      "  add -d 名前 -m tenjiprint -v tenjiprint:///COM1   プリンターを加えます\n"
      "  devices      使えるポートを一覧にします\n"
      "  submit -d 名前 [-o copies=N] [-o page-ranges=M-N] ファイル   印刷します\n"
      "  printers、jobs、cancel、status、shutdown、drivers、options\n"
      "\n"
      "文書: NRK、BRF、PEF、Unicode 点字テキスト（中身で見分けます）。\n");
}

}  // namespace

int main(int argc, char* argv[]) {
  // PAPPL takes the program's file name for its control socket.
  const std::string program = argv[0];
  tenji::server::server_config().program_name = program.substr(program.find_last_of('/') + 1);
  return papplMainloop(argc, argv, TENJI_VERSION, "tenjiprint " TENJI_VERSION,
                       1, tenji::server::embosser_drivers(), nullptr,
                       tenji::server::embosser_driver, nullptr, nullptr, tenji::server::create_server_system, usage,
                       nullptr);
}
