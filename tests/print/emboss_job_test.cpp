#include "print/emboss_job.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/debug_output.h"
#include "print/page_plan.h"
#include "print/printing_flag.h"
#include "stream_decoder.h"
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
    settings = default_print_settings();
    fake.device(1);
    printing_flag = 0;
  }
  void TearDown() override { close_all_ports(); }

  void add(std::string cells) { doc.append_line(make_braille_line(cells)); }
  int run(int copies = 1, int pitch_test = 0) {
    start_emboss_job(settings, "doc.NRK", &observer, &doc, copies, pitch_test);
    return observer.wait_done();
  }
  std::string line() { return fake.locked([&] { return fake.device(1).line; }); }
  // The embossed dots as the embosser reads the stream, page by page.
  Dots dots() {
    const auto job = embosser::decode_stream(line());
    EXPECT_TRUE(job.errors.empty());
    Dots out;
    for (std::size_t p = 0; p < job.pages.size(); ++p)
      for (const auto& d : job.pages[p].dots) out.emplace_back(p + 1, d.x, d.y);
    return out;
  }
  void expect_connection_failure(const std::string& cause) {
    const auto messages = observer.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(std::tie(messages[0].text, messages[0].caption, messages[0].icon),
              std::tuple("点字プリンターの接続を確認してください。\n" + cause, "印刷エラー", MessageIcon::error));
    EXPECT_EQ(line(), "");
    EXPECT_EQ(open_ports, nullptr);
  }

  tenji::testing::FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  std::vector<std::string> debug;
  platform::ScopedHook<platform::DebugSink> debug_sink{platform::debug_output_hook,
                                                       [this](std::string_view t) { debug.emplace_back(t); }};
  PrintSettings settings;
  BrailleDocument doc;
  tenji::testing::RecordingObserver observer;
};

TEST_F(JobTest, TwoLinesGiveTheFiftyThreeByteStreamOverXonXoff) {
  add("\xA1");
  add("\xA9");
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(line(), tenji::testing::two_line_job_stream());
  EXPECT_TRUE(observer.messages().empty());
  EXPECT_EQ(open_ports, nullptr);
  const JobProgress p = observer.last_progress();
  EXPECT_EQ(p.bytes_sent, 53u);
  EXPECT_EQ(p.bytes_total, 53u);
  DCB expected = fake.device(1).applied.front();  // as opened, then flow control and DTR/DSR
  expected.fOutX = expected.fInX = 1;
  expected.fRtsControl = RTS_CONTROL_DISABLE;
  expected.fOutxDsrFlow = 1;
  expected.fDtrControl = DTR_CONTROL_HANDSHAKE;
  EXPECT_EQ(fake.device(1).applied.back(), expected);
  EXPECT_EQ(expected.BaudRate, 1200u);
}

TEST_F(JobTest, RtsCtsFlowAndTheSpeedIndexWhenAsked) {
  settings.COM_FLOW = 2;
  settings.COM_SPEED = 3;
  EXPECT_EQ(run(), 1);
  const DCB& last = fake.device(1).applied.back();
  EXPECT_EQ(std::tuple(last.fOutX, last.fOutxCtsFlow, last.fRtsControl, last.BaudRate),
            std::tuple(std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{RTS_CONTROL_HANDSHAKE}, 9600u));
}

TEST_F(JobTest, CellsArePlacedByMillimetresAndCutAtCplAndLpp) {
  settings.CPL = 3;
  settings.LPP = 2;
  add("\xA1\xA1\xA1\xA1");  // the fourth cell is beyond CPL
  add("\xA1\xA1\xA1");
  add("\xA1");  // beyond LPP
  EXPECT_EQ(run(), 1);
  // Dot 1 lies back pitch (6) below the cell; lines 10.47 mm (33 steps)
  // apart, cells 5.18 mm: 0, 15 (5.18), 30 (10.36) steps.
  EXPECT_EQ(dots(), (Dots{{1, 6, 0}, {1, 6, 15}, {1, 6, 30}, {1, 39, 0}, {1, 39, 15}, {1, 39, 30}}));
}

TEST_F(JobTest, AnEmptyLineLeavesABlankLineAndCopiesStartAgainAtTheTop) {
  add("\xA1");
  add("");
  add("\xA8");  // dot 4: the second column, 6 steps across
  EXPECT_EQ(run(2), 1);
  EXPECT_EQ(dots(), (Dots{{1, 6, 0}, {1, 72, 6}, {2, 6, 0}, {2, 72, 6}}));  // 20.94 mm = 66 steps
  const std::string copy = line().substr(RESET.size(), (line().size() - RESET.size() - 1) / 2);
  EXPECT_EQ(copy.substr(0, 4), DOT_SIZE_1);  // each copy begins with the dot size
  EXPECT_EQ(copy.substr(copy.size() - 5), PAGE_END);
}

TEST_F(JobTest, PagesStartAtTheTopAndCopiesAreCollated) {
  settings.LPP = 2;
  add("\xA1");  // page 1: lines 1-2
  add("\xA1");
  add("\xA8");  // page 2: line 3
  start_emboss_job(settings, "doc.NRK", &observer, &doc, 2, 0, paginate(doc, settings.LPP));
  EXPECT_EQ(observer.wait_done(), 1);
  EXPECT_EQ(dots(), (Dots{{1, 6, 0}, {1, 39, 0}, {2, 6, 6}, {3, 6, 0}, {3, 39, 0}, {4, 6, 6}}));
  const std::string s = line();
  EXPECT_EQ(s.substr(0, 7), RESET + DOT_SIZE_1);
  EXPECT_EQ(s.substr(s.size() - 6), PAGE_END + CR);
  EXPECT_EQ(observer.last_progress().pages, 2);
}

TEST_F(JobTest, ARangeAndAResumeKeepEveryLineAtItsPlace) {
  settings.LPP = 3;
  for (const char* cells : {"\xA1", "\xA1", "\xA1", "\xA8", "\xA8"}) add(cells);
  // Page 1 from its line 2 on (one line left out at the top), then page 2.
  start_emboss_job(settings, "doc.NRK", &observer, &doc, 1, 0, select_pages(paginate(doc, 3), {1, 0, 2}));
  EXPECT_EQ(observer.wait_done(), 1);
  EXPECT_EQ(dots(), (Dots{{1, 39, 0}, {1, 72, 0}, {2, 6, 6}, {2, 39, 6}}));
  // Page 2 alone is the same bytes as a document of its lines.
  observer.reset();
  fake.locked([&] { return fake.device(1).line.clear(), 0; });
  start_emboss_job(settings, "doc.NRK", &observer, &doc, 1, 0, select_pages(paginate(doc, 3), {2, 2, 1}));
  EXPECT_EQ(observer.wait_done(), 1);
  const std::string page_two = line();
  BrailleDocument alone;
  for (int i = 0; i < 2; ++i) alone.append_line(make_braille_line("\xA8"));
  doc = std::move(alone);
  observer.reset();
  fake.locked([&] { return fake.device(1).line.clear(), 0; });
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(line(), page_two);
}

TEST_F(JobTest, WithoutPagesALongDocumentPrintsItsFirstLppLinesAsBefore) {
  for (int i = 0; i < 50; ++i) add(std::string(1 + i % 5, static_cast<char>(0xA0 + i)));
  EXPECT_EQ(run(), 1);
  const std::string long_document = line();
  BrailleDocument first_page;
  for (int i = 1; i <= 22; ++i) first_page.append_line(*doc.line_record(i));
  doc = std::move(first_page);
  observer.reset();
  fake.locked([&] { return fake.device(1).line.clear(), 0; });
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(line(), long_document);
}

TEST_F(JobTest, NothingToPrintSendsOnlyTheFrame) {
  const std::tuple<int, int, std::string> cases[] = {
      {0, 22, RESET + CR},                        // no copies
      {2, 22, RESET + PAGE_END + PAGE_END + CR},  // no lines: no dot size either
      {1, 0, RESET + PAGE_END + CR},              // LPP 0
  };
  for (const auto& [copies, lpp, stream] : cases) {
    fake.locked([&] { return fake.device(1).line.clear(), 0; });
    settings.LPP = lpp;
    if (lpp == 0) add("\xA1");
    EXPECT_EQ(run(copies), 1);
    EXPECT_EQ(line(), stream) << copies << " " << lpp;
    observer.reset();
  }
}

TEST_F(JobTest, PitchTestPutsEveryCellAtThePitchUnconverted) {
  add("\xDF");
  EXPECT_EQ(run(1, 1), 1);
  EXPECT_EQ(line(), tenji::testing::pitch_test_origin_stream());
  fake.locked([&] { return fake.device(1).line.clear(), 0; });
  observer.reset();
  add("\xA1");
  settings.PITCH_X = 100;
  settings.PITCH_Y = 9999;
  EXPECT_EQ(run(1, 1), 1);
  const Dots d = dots();
  EXPECT_EQ(d.size(), 7u);
  EXPECT_EQ(d.back(), (std::tuple<std::size_t, std::int64_t, std::int64_t>{1, 106, 9999 % 8192}));
}

TEST_F(JobTest, APortThatCannotPrintEndsWithTheConnectionMessage) {
  add("\xA1");
  settings.COM_PORT = 5;  // no device
  EXPECT_EQ(run(), 2);
  expect_connection_failure("COM6（\\\\.\\COM6）が見つかりません。");
  observer.reset();
  settings.COM_PORT = 0;
  fake.device(1).busy = true;
  EXPECT_EQ(run(), 2);
  expect_connection_failure("COM1（\\\\.\\COM1）はほかのプログラムが使っています。");
  EXPECT_EQ(printing_flag.load(), 0);
}

TEST_F(JobTest, RefusedLineSettingsOrCtsOffCloseThePortAgain) {
  add("\xA1");
  fake.device(1).refuse_set_state = 1;
  EXPECT_EQ(run(), 2);
  expect_connection_failure("COM1（\\\\.\\COM1）が通信設定（1200 bit/s）を受け付けませんでした（ASFAILURE the system refused the call）。");
  observer.reset();
  fake.device(1).modem_status = 0x20;  // DSR without CTS
  EXPECT_EQ(run(), 2);
  expect_connection_failure("COM1（\\\\.\\COM1）のCTSが入っていません（点字プリンターの電源か、ケーブルを確認してください）。");
  EXPECT_FALSE(fake.device(1).open);
}

TEST_F(JobTest, ASpeedIndexWithoutABaudRateFailsWithoutOpening) {
  settings.COM_SPEED = 4;
  EXPECT_EQ(run(), 2);
  expect_connection_failure("通信速度の設定 COM_SPEED=4 は 0〜3 ではありません。");
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(JobTest, CancelAfterACellSendsOnlyCr) {
  add("\xA1\xA2\xA3");
  add("\xA4");
  observer.on_progress = [](const JobProgress& p) {
    if (p.cell == 1) cancel_printing();
  };
  EXPECT_EQ(run(2), 1);
  const std::string first_cell = bytes({0x1D, 0x20, 0x60, 0x20, 0x40, 0x20, 0x60, 0x20, 0x46, 0x0D, 0x1B, 0x1B, 0x47,
                                         0x1D, 0x20, 0x66, 0x20, 0x40});
  EXPECT_EQ(line(), RESET + DOT_SIZE_1 + first_cell + CR);  // no page end
  EXPECT_TRUE(observer.messages().empty());
}

class HeldLineJobTest : public JobTest {
 protected:
  // Starts a long job on a held line and waits until it is stuck on it.
  void start_on_held_line() {
    for (int i = 0; i < 40; ++i) add(std::string(32, '\xDF'));
    fake.locked([&] { return fake.device(1).hold = true; });
    start_emboss_job(settings, "doc.NRK", &observer, &doc, 1, 0);
    for (int i = 0; i < 5000 && fake.locked([&] { return fake.device(1).queue.size(); }) < 30; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
};

TEST_F(HeldLineJobTest, CancelDuringAWaitFinishesTheCellThenSendsCr) {
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
  EXPECT_TRUE(embosser::decode_stream(s).errors.empty());
  EXPECT_EQ(fake.device(1).purges, 0);
  EXPECT_TRUE(observer.messages().empty());
  EXPECT_TRUE(observer.last_progress().cancelled);
}

TEST_F(HeldLineJobTest, ALineStillHeldTenSecondsAfterCancelIsGivenUpAndTold) {
  start_on_held_line();  // the fake clock runs a millisecond a look
  cancel_printing();
  EXPECT_EQ(observer.wait_done(), 1);
  EXPECT_EQ(fake.device(1).purges, 1);
  ASSERT_EQ(observer.messages().size(), 1u);
  EXPECT_EQ(observer.messages()[0].text, LINE_HELD_MESSAGE);
  EXPECT_EQ(observer.messages()[0].caption, "印刷の中止");
  EXPECT_EQ(open_ports, nullptr);
}

TEST_F(JobTest, ACancelBeforeThePortIsReadyIsHonoured) {
  add("\xA1");
  fake.locked([&] {
    start_emboss_job(settings, "doc.NRK", &observer, &doc, 1, 0);
    cancel_printing();  // the job is still waiting to open the port
    return 0;
  });
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
  ASSERT_EQ(observer.messages().size(), 1u);
  EXPECT_EQ(observer.messages()[0].caption, "印刷エラー");
  EXPECT_FALSE(fake.device(1).open);
  ASSERT_FALSE(debug.empty());
  EXPECT_EQ(debug.back(), "GL Error -9 ASTXQUEUEFULL");
}

TEST(JobPlan, CountsEveryByteOfTheStream) {
  PrintSettings s = default_print_settings();
  BrailleDocument doc;
  EXPECT_EQ(planned_stream_bytes(s, doc, 1), 3u + 5u + 1u);
  doc.append_line(make_braille_line("\xA1\xDF"));
  EXPECT_EQ(planned_stream_bytes(s, doc, 2), 3u + 2u * (4u + 18u + 38u + 5u) + 1u);
  EXPECT_EQ(planned_stream_bytes(s, doc, 0), 4u);
  EXPECT_EQ(baud_for_speed_index(2), 4800);
  EXPECT_EQ(baud_for_speed_index(-1), 0);
}

}  // namespace
}  // namespace tenji
