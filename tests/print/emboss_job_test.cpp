#include "print/emboss_job.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/debug_output.h"
#include "print/page_plan.h"
#include "print/printing_flag.h"
#include "print/stream_decoder.h"
#include "support/expected_streams.h"
#include "support/fake_comm.h"
#include "support/nrk_builder.h"
#include "support/recording_observer.h"

namespace tenji {
namespace {

using tenji::testing::bytes;
using Dots = std::vector<std::tuple<std::size_t, std::int64_t, std::int64_t>>;  // page, x, y

const std::string RESET = bytes({0x1B, 0x1B, 0x47}), PAGE_END = bytes({0x0D, 0x0C, 0x1B, 0x1B, 0x47});
const std::string DOT_SIZE_1 = bytes({0x1B, 0x1B, 0x44, 0x31}), CR = "\x0D";

class JobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.device(1);
    printing_flag = 0;
  }
  void TearDown() override { close_all_ports(); }

  void add(std::string cells) { doc.append_line(make_braille_line(cells)); }
  int run(int copies = 1, std::vector<PageSpan> pages = {}) {
    observer.reset();
    fake.locked([&] { return fake.device(1).line.clear(), 0; });
    start_emboss_job(settings, "doc.NRK", &observer, &doc, copies, 0, std::move(pages));
    return observer.wait_done();
  }
  std::string line() { return fake.locked([&] { return fake.device(1).line; }); }
  // Starts a long job on a held line and waits until it is stuck on it.
  void start_on_held_line() {
    for (int i = 0; i < 40; ++i) add(std::string(32, '\xDF'));
    fake.locked([&] { return fake.device(1).hold = true; });
    start_emboss_job(settings, "doc.NRK", &observer, &doc, 1, 0);
    for (int i = 0; i < 5000 && fake.locked([&] { return fake.device(1).queue.size(); }) < 30; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // The embossed dots as the embosser reads the stream, page by page.
  Dots dots() {
    const auto job = decode_stream(line());
    EXPECT_TRUE(job.errors.empty());
    Dots out;
    for (std::size_t p = 0; p < job.pages.size(); ++p)
      for (const auto& d : job.pages[p].dots) out.emplace_back(p + 1, d.x, d.y);
    return out;
  }
  // The one message of a failed job, and the port closed again.
  void expect_failure(const std::string& cause) {
    const auto messages = observer.messages();
    ASSERT_EQ(messages.size(), 1u) << cause;
    EXPECT_EQ(std::tie(messages[0].text, messages[0].caption, messages[0].icon),
              std::tuple("点字プリンターの接続を確認してください。\n" + cause, "印刷エラー", MessageIcon::error));
    EXPECT_EQ(open_ports, nullptr);
  }

  tenji::testing::FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  std::vector<std::string> debug;
  platform::ScopedHook<platform::DebugSink> debug_sink{platform::debug_output_hook,
                                                       [this](std::string_view t) { debug.emplace_back(t); }};
  PrintSettings settings = default_print_settings();
  BrailleDocument doc;
  tenji::testing::RecordingObserver observer;
};

TEST_F(JobTest, TwoLinesGiveTheFiftyThreeByteStreamOverXonXoff) {
  for (const char* cells : {"\xA1", "\xA9"}) add(cells);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(line(), tenji::testing::two_line_job_stream());
  EXPECT_TRUE(observer.messages().empty());
  EXPECT_EQ(open_ports, nullptr);
  const JobProgress p = observer.last_progress();
  EXPECT_EQ(std::pair(p.bytes_sent, p.bytes_total), (std::pair<std::uint64_t, std::uint64_t>(53, 53)));
  DCB expected = fake.device(1).applied.front();  // as opened, then flow control and DTR/DSR
  expected.fOutX = expected.fInX = expected.fOutxDsrFlow = 1;
  expected.fRtsControl = RTS_CONTROL_DISABLE, expected.fDtrControl = DTR_CONTROL_HANDSHAKE;
  EXPECT_EQ(fake.device(1).applied.back(), expected);
  EXPECT_EQ(expected.BaudRate, 1200u);
  // RTS/CTS and the fastest speed when asked.
  settings.COM_FLOW = 2, settings.COM_SPEED = 3;
  EXPECT_EQ(run(), 1);
  const DCB& last = fake.device(1).applied.back();
  EXPECT_EQ(std::tuple(last.fOutX, last.fOutxCtsFlow, last.fRtsControl, last.BaudRate),
            std::tuple(std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{RTS_CONTROL_HANDSHAKE}, 9600u));
  EXPECT_EQ(std::tuple(baud_for_speed_index(1), baud_for_speed_index(2), baud_for_speed_index(-1)),
            std::tuple(2400, 4800, 0));
}

TEST_F(JobTest, CellsArePlacedByMillimetresAndCutAtCplAndLpp) {
  settings.CPL = 3, settings.LPP = 2;
  add("\xA1\xA1\xA1\xA1");  // the fourth cell is beyond CPL
  add("\xA1\xA1\xA1");
  add("\xA1");  // beyond LPP
  EXPECT_EQ(run(), 1);
  // Dot 1 lies back pitch (6) below the cell; lines 10.47 mm (33 steps)
  // apart, cells 5.18 mm: 0, 15 (5.18), 30 (10.36) steps.
  EXPECT_EQ(dots(), (Dots{{1, 6, 0}, {1, 6, 15}, {1, 6, 30}, {1, 39, 0}, {1, 39, 15}, {1, 39, 30}}));
}

TEST_F(JobTest, PagesStartAtTheTopEachWithTheDotSizeAndCopiesAreCollated) {
  settings.LPP = 3;
  add("\xA1");  // page 1: lines 1-3
  add("");      // an empty line still takes its place
  add("\xA8");  // dot 4: the second column, 6 steps across; 20.94 mm = 66 steps down
  add("\xA1");  // page 2: line 4
  EXPECT_EQ(run(2, paginate(doc, settings.LPP)), 1);
  EXPECT_EQ(dots(), (Dots{{1, 6, 0}, {1, 72, 6}, {2, 6, 0}, {3, 6, 0}, {3, 72, 6}, {4, 6, 0}}));
  const std::string s = line();
  std::size_t sizes = 0;
  for (auto at = s.find(DOT_SIZE_1); at != std::string::npos; at = s.find(DOT_SIZE_1, at + 1)) ++sizes;
  EXPECT_EQ(sizes, 4u);
  EXPECT_EQ(std::pair(observer.last_progress().pages, observer.last_progress().bytes_total),
            std::pair(2, std::uint64_t{s.size()}));
}

TEST_F(JobTest, ARangeAndAResumeKeepEveryLineAtItsPlace) {
  settings.LPP = 3;
  for (const char* cells : {"\xA1", "\xA1", "\xA1", "\xA8", "\xA8"}) add(cells);
  // Page 1 from its line 2 on (one line left out at the top), then page 2.
  EXPECT_EQ(run(1, select_pages(paginate(doc, 3), {1, 0, 2})), 1);
  EXPECT_EQ(dots(), (Dots{{1, 39, 0}, {1, 72, 0}, {2, 6, 6}, {2, 39, 6}}));
}

TEST_F(JobTest, NothingToPrintSendsOnlyTheFrame) {
  const std::tuple<int, int, std::string> cases[] = {
      {2, 22, RESET + PAGE_END + PAGE_END + CR},  // no lines: no dot size either
      {1, 0, RESET + PAGE_END + CR},              // LPP 0
  };
  for (const auto& [copies, lpp, stream] : cases) {
    settings.LPP = lpp;
    if (lpp == 0) add("\xA1");
    EXPECT_EQ(run(copies), 1);
    EXPECT_EQ(line(), stream) << copies << " " << lpp;
    EXPECT_EQ(observer.last_progress().bytes_total, stream.size());
  }
}

TEST_F(JobTest, AFailingConnectionNamesItsCauseAndClosesThePortAgain) {
  add("\xA1");
  auto& device = fake.device(1);
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { settings.COM_PORT = 5; },
       "COM6（\\\\.\\COM6）が見つかりません（点字プリンターのケーブルと電源、周辺機器設定のポートを確認してください）。"},
      // Whatever number a settings file holds is named as it is.
      {[&] { settings.COM_PORT = INT_MAX; },
       "COM2147483648（\\\\.\\COM2147483648）が見つかりません（点字プリンターのケーブルと電源、周辺機器設定のポートを確認してください）。"},
      {[&] { settings.COM_PORT = 0, device.busy = true; }, "COM1（\\\\.\\COM1）はほかのプログラムが使っています。"},
      // Busy because the user may not open it: the system's words instead.
      {[&] { fake.denied = "を開く権限がありません（…）。"; }, "COM1（\\\\.\\COM1）を開く権限がありません（…）。"},
      // A port the machine lists is named by what it is.
      {[&] { fake.denied.clear(), fake.listed = {{1, "/dev/ttyUSB0", "", "FTDI FT232R", "A50285BI", true}}; },
       "COM1（/dev/ttyUSB0、USB シリアル FTDI FT232R (A50285BI)）はほかのプログラムが使っています。"},
      {[&] { fake.listed.clear(), device.busy = false, device.refuse_set_state = 1; },
       "COM1（\\\\.\\COM1）が通信設定（1200 bit/s）を受け付けませんでした（ASFAILURE the system refused the call）。"},
      {[&] { device.modem_status = 0x20; },  // DSR without CTS
       "COM1（\\\\.\\COM1）のCTSが入っていません（点字プリンターの電源か、ケーブルを確認してください）。"},
      {[&] { settings.COM_SPEED = 4; }, "通信速度の設定 COM_SPEED=4 は 0〜3 ではありません。"},
  };
  for (const auto& [change, cause] : cases) {
    change();
    EXPECT_EQ(run(), 2);
    expect_failure(cause);
    EXPECT_EQ(line(), "");
    EXPECT_EQ(printing_flag.load(), 0);  // not left at "starting"
  }
}

TEST_F(JobTest, CancelAfterACellSendsOnlyCr) {
  for (const char* cells : {"\xA1\xA2\xA3", "\xA4"}) add(cells);
  observer.on_progress = [](const JobProgress& p) {
    if (p.cell == 1) cancel_printing();
  };
  EXPECT_EQ(run(2), 1);
  // Reset, dot size and the cell of dot 1 at (0, 0), then CR: no page end.
  EXPECT_EQ(line(), tenji::testing::two_line_job_stream().substr(0, 25) + CR);
}

TEST_F(JobTest, CancelDuringAWaitFinishesTheCellThenSendsCr) {
  fake.tick_step = 0;  // the clock stands still while the line is held
  start_on_held_line();
  cancel_printing();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(observer.done());
  fake.locked([&] { return fake.device(1).hold = false, fake.tick_step = 1; });  // the embosser takes data again
  EXPECT_EQ(observer.wait_done(), 1);
  // Reset, dot size, whole cells of 38 bytes, CR: nothing cut, nothing purged.
  const std::string s = line();
  EXPECT_EQ((s.size() - RESET.size() - DOT_SIZE_1.size() - 1) % 38, 0u) << s.size();
  EXPECT_EQ(s.back(), '\x0D');
  EXPECT_TRUE(decode_stream(s).errors.empty());
  EXPECT_EQ(fake.device(1).purges, 0);
  EXPECT_TRUE(observer.messages().empty());
  EXPECT_TRUE(observer.last_progress().cancelled);
}

TEST_F(JobTest, ALineStillHeldTenSecondsAfterCancelIsGivenUpAndTold) {
  start_on_held_line();  // the fake clock runs a millisecond a look
  const std::uint32_t cancelled_at = fake.locked([&] { return fake.tick; });
  cancel_printing();
  EXPECT_EQ(observer.wait_done(), 1);
  // The limit counts from the Cancel, not from when the line stopped.
  EXPECT_GE(fake.tick - cancelled_at, 10000u);
  EXPECT_LT(fake.tick - cancelled_at, 11000u);
  EXPECT_EQ(fake.device(1).purges, 1);
  ASSERT_EQ(observer.messages().size(), 1u);
  EXPECT_EQ(observer.messages()[0].text, LINE_HELD_MESSAGE);
  EXPECT_EQ(observer.messages()[0].caption, "印刷の中止");
  EXPECT_EQ(open_ports, nullptr);
}

TEST_F(JobTest, ACancelBeforeThePortIsReadyIsHonoured) {
  add("\xA1");
  // Under the fake's lock the job is still waiting to open the port.
  fake.locked([&] { return start_emboss_job(settings, "doc.NRK", &observer, &doc, 1, 0), cancel_printing(), 0; });
  EXPECT_EQ(observer.wait_done(), 1);
  EXPECT_EQ(line(), "");
  EXPECT_FALSE(fake.device(1).open);
}

TEST_F(JobTest, ADeadLineEndsTheJobAsAFailure) {
  for (int i = 0; i < 3; ++i) add("\xA1\xA2");
  fake.tick_step = 10;
  observer.on_progress = [this](const JobProgress& p) {
    if (p.cell == 1) fake.locked([&] { return fake.device(1).gone = true; });
  };
  EXPECT_EQ(run(), 2);
  expect_failure("ポート COM1（\\\\.\\COM1） が外れました（ケーブルと点字プリンターの電源を確認してください）。\n"
                 "1/1部 1/3行まで送りました。");
  ASSERT_FALSE(debug.empty());
  EXPECT_EQ(debug.back(), "GL Error -9 ASTXQUEUEFULL");
}

}  // namespace
}  // namespace tenji
