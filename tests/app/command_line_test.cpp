#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/settings_file.h"
#include "document/nrk_writer.h"
#include "serial/serial_internal.h"
#include "support/fake_comm.h"
#include "support/expected_streams.h"
#include "support/nrk_builder.h"
#include "print/stream_decoder.h"
#include "support/temp_dir.h"

namespace tenji {
namespace {

using tenji::testing::bytes;
using tenji::testing::write_file;

std::string contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
  return out;
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override { fake.device(1); }
  void TearDown() override {
    std::fclose(out);
    std::fclose(err);
    close_all_ports();
  }

  int run(std::vector<std::string> args) {
    args.insert(args.begin(), {"tenjiprint", "--settings", settings_path});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    return run_command_line(static_cast<int>(argv.size()), argv.data(), out, err);
  }

  std::string document(const std::vector<std::string>& lines) {
    write_file(dir.file("doc.NRK"), encode_nrk(lines));
    return dir.file("doc.NRK");
  }

  std::string sent() { return fake.locked([&] { return fake.device(1).line; }); }

  tenji::testing::TempDir dir;
  tenji::testing::FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  std::string settings_path = dir.file("s.ini");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
};

TEST_F(CommandLine, PrintsADocumentAndCreatesTheSettingsFile) {
  const std::string path = document({"\xA1", "\xA9"});
  EXPECT_EQ(run({"print", path, "--copies", "0"}), EXIT_DONE);
  EXPECT_TRUE(fake.calls.empty());  // no copies: the port is not even opened
  EXPECT_EQ(run({"print", path, "--copies", "2"}), EXIT_DONE);
  EXPECT_EQ(sent().size(), 3u + 2u * (4u + 18u + 22u + 5u) + 1u);
  PrintSettings s;
  load_all_keys(settings_path, s);
  EXPECT_EQ(s.CPL, 32);
  EXPECT_NE(contents(err).find("100%"), std::string::npos);
}

TEST_F(CommandLine, EachRefusalNamesItsCauseAndSendsNothing) {
  write_file(dir.file("x.NRK"), "hello");
  write_file(dir.file("empty.NRK"), encode_nrk({}));
  PrintSettings off = default_print_settings();
  off.START_X = 250;
  ASSERT_TRUE(write_default_settings(settings_path) && save_layout_keys(dir.file("off.ini"), off));
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{"print", dir.file("x.NRK")}, EXIT_BAD_INPUT, "NRK形式のファイルではありません。\n" + dir.file("x.NRK")},
      {{"print", dir.file("empty.NRK")}, EXIT_BAD_INPUT, "点字ファイルに行がありません。\n" + dir.file("empty.NRK")},
      {{"--settings", "/dev/zero", "port-info"}, EXIT_BAD_INPUT,
       "設定ファイル /dev/zero: 普通のファイルではありません（0として読みました）"},
      {{"--settings", dir.file("off.ini"), "print", document({"\xA1", "\xA1"}), "--force"}, EXIT_BAD_INPUT,
       "設定値 START_X=250.00 では点が用紙（Ｂ５ 257 × 182 mm）の外に出ます"},
  };
  for (const auto& [args, code, message] : cases) {
    std::rewind(err);
    EXPECT_EQ(run(args), code) << message;
    EXPECT_NE(contents(err).find(message), std::string::npos) << contents(err);
  }
  EXPECT_TRUE(fake.calls.empty());
  EXPECT_EQ(run({"print", dir.file("empty.NRK"), "--force"}), EXIT_DONE);
  EXPECT_EQ(sent(), bytes({0x1B, 0x1B, 0x47, 0x0D, 0x0C, 0x1B, 0x1B, 0x47, 0x0D}));  // a page end, no more
}

TEST_F(CommandLine, ADocumentThatDoesNotFitStopsUnlessForced) {
  const std::string path = document({std::string(33, '\xA1'), "\xA1"});
  EXPECT_EQ(run({"print", path}), EXIT_DOES_NOT_FIT);
  EXPECT_NE(contents(err).find("1行 32マス・1ページ 22行の設定に対し、最長の行 33マス・2行の点字ファイル"), std::string::npos);
  EXPECT_EQ(sent(), "");
  EXPECT_EQ(run({"print", path, "--force"}), EXIT_DONE);
  // 32 cells of the first line, then the second line.
  EXPECT_EQ(sent().size(), 3u + 4u + 33u * 18u + 5u + 1u);
}

TEST_F(CommandLine, PitchTestSendsOneFullCellAtThePositionUnconverted) {
  EXPECT_EQ(run({"pitch-test", "0", "0"}), EXIT_DONE);
  EXPECT_EQ(sent(), tenji::testing::pitch_test_origin_stream());
  fake.locked([&] { return fake.device(1).line.clear(), 0; });
  EXPECT_EQ(run({"pitch-test", "100", "9999"}), EXIT_DONE);
  // After reset and dot size, the move of the first column to Y 9999, X 100, as typed.
  EXPECT_EQ(sent().substr(7, 5), bytes({0x1D, 0x58, 0x6F, 0x23, 0x44}));
}

TEST_F(CommandLine, AFailingPortExitsWithOneAndPortInfoPrintsTheDumpOrNamesTheFailure) {
  fake.device(1).modem_status = 0;  // CTS off
  EXPECT_EQ(run({"print", document({"\xA1"})}), EXIT_JOB_FAILED);
  EXPECT_NE(contents(err).find("印刷エラー: 点字プリンターの接続を確認してください。"), std::string::npos);
  EXPECT_EQ(contents(err).find("%"), std::string::npos);  // no progress line for a job that never began
  EXPECT_EQ(run({"port-info"}), EXIT_DONE);
  EXPECT_NE(contents(out).find("Port type:  MS Windows  DCB BaudRate: 1200  "), std::string::npos);
  EXPECT_EQ(open_ports, nullptr);
  ASSERT_TRUE(save_port_keys(settings_path, 7, 0, 1));
  EXPECT_EQ(run({"port-info"}), EXIT_JOB_FAILED);
  EXPECT_NE(contents(err).find("COM8（\\\\.\\COM8）を開けませんでした: ASNODEVICE（コード -14、no such device）"),
            std::string::npos);
}

TEST_F(CommandLine, BadArgumentsExitWithTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {}, {"print"}, {"print", "a", "--copies", "x"}, {"print", "a", "--copies", "1000"}, {"pitch-test", "1"},
      {"pitch-test", "-1", "2"}, {"pitch-test", "10000", "2"}, {"frobnicate"}, {"print", "a", "--colour"}};
  for (const auto& args : bad) EXPECT_EQ(run(args), EXIT_BAD_INPUT) << (args.empty() ? "" : args.back());
  // In Japanese, like every other message.
  const std::string said = contents(err);
  EXPECT_NE(said.find("tenjiprint: --copies には 0〜999 の整数を指定します\n"), std::string::npos);
  EXPECT_NE(said.find("tenjiprint: frobnicate というコマンドはありません\n\n使い方: tenjiprint "), std::string::npos);
  EXPECT_EQ(run({"--version"}), EXIT_DONE);
  EXPECT_NE(contents(out).find("tenjiprint 0.1.0"), std::string::npos);
  EXPECT_EQ(sent(), "");
}

TEST_F(CommandLine, PagesPrintWholeDocumentsOrARange) {
  const std::string three = std::string(TENJI_SOURCE_DIR) + "/samples/three-pages.brf";
  auto pages_sent = [&] { return decode_stream(sent()).pages.size(); };
  const std::tuple<std::vector<std::string>, int, std::size_t> cases[] = {
      {{"print", three}, EXIT_DONE, 1},  // without --pages: the first page
      {{"print", three, "--pages", "all", "--copies", "2"}, EXIT_DONE, 6},
      {{"print", three, "--pages", "2-3", "--from-line", "2"}, EXIT_DONE, 2},
      {{"print", three, "--pages", "２－３", "--copies", "２"}, EXIT_DONE, 4},  // typed with the input method on
      {{"print", three, "--pages", "2", "--from-line", "3"}, EXIT_BAD_INPUT, 0},  // page 2 has 2 lines
      {{"print", three, "--from-line", "2"}, EXIT_BAD_INPUT, 0},
  };
  for (const auto& [args, code, pages] : cases) {
    fake.locked([&] { return fake.device(1).line.clear(), 0; });
    EXPECT_EQ(run(args), code) << ::testing::PrintToString(args);
    EXPECT_EQ(pages_sent(), pages) << ::testing::PrintToString(args);
  }
  EXPECT_NE(contents(err).find("ページの指定が文書にありません: 全3ページ"), std::string::npos);
}

TEST_F(CommandLine, PreviewShowsWhatPrintWouldRaiseCellForCellAndSendsNothing) {
  ASSERT_TRUE(write_default_settings(settings_path));
  const std::string three = std::string(TENJI_SOURCE_DIR) + "/samples/three-pages.pef";
  EXPECT_EQ(run({"preview", three, "--pages", "2-3", "--from-line", "2", "--copies", "2"}), EXIT_DONE);
  // Page 2 resumed at its line 2 (its first line blank), page 3 whole, twice.
  const std::string page2 = "\n⠥⠧⠭⠯⠮\n", page3 = "⠼⠉⠀⠕⠗⠝⠟⠞\n⠷⠾⠿\n";
  EXPECT_EQ(contents(out), three + "\n2部 × 2ページ（4枚）\n6行、32マス\n124点\n984バイト\n1200 bit/s で約8.2秒\n"
                           "\n―― 1部 1/2ページ ――\n" + page2 + "\n―― 1部 2/2ページ ――\n" + page3 +
                           "\n―― 2部 1/2ページ ――\n" + page2 + "\n―― 2部 2/2ページ ――\n" + page3);
  std::fclose(out);
  out = std::tmpfile();
  // As the embosser strikes it: each line from the far side of its 32 cells,
  // each cell's columns changed over (⠁, dot 1, becomes ⠈, dot 4).
  EXPECT_EQ(run({"preview", three, "--pages", "3", "--side", "emboss"}), EXIT_DONE);
  auto blanks = [](int n) {
    std::string b;
    for (int i = 0; i < n; ++i) b += "⠀";
    return b;
  };
  EXPECT_NE(contents(out).find(blanks(24) + "⠳⠻⠫⠺⠪⠀⠉⠧\n" + blanks(29) + "⠿⠷⠾\n"), std::string::npos) << contents(out);
  // The same refusals as print, with its exit codes.
  EXPECT_EQ(run({"preview", document({std::string(33, '\xA1')})}), EXIT_DOES_NOT_FIT);
  EXPECT_EQ(run({"preview", three, "--pages", "4"}), EXIT_BAD_INPUT);
  EXPECT_EQ(run({"preview", three, "--side", "front"}), EXIT_BAD_INPUT);
  EXPECT_TRUE(fake.calls.empty());  // the port was never opened
}

}  // namespace
}  // namespace tenji
