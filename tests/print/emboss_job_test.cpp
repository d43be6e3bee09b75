#include "print/emboss_job.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/debug_output.h"
#include "print/command_stream.h"
#include "print/printing_flag.h"
#include "serial/serial_driver.h"
#include "support/fake_comm.h"
#include "support/expected_streams.h"
#include "support/nrk_builder.h"
#include "support/recording_observer.h"

namespace tenji {
namespace {

using tenji::testing::bytes;
using tenji::testing::FakeCommApi;
using tenji::testing::RecordingObserver;

const std::string RESET = bytes({0x1B, 0x1B, 0x47});
const std::string DOT_SIZE_1 = bytes({0x1B, 0x1B, 0x44, 0x31});
const std::string PAGE_END = bytes({0x0D, 0x0C, 0x1B, 0x1B, 0x47});
const std::string CR = bytes({0x0D});

class JobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::set_debug_output([](std::string_view) {});
    settings = default_print_settings();
    fake.device(1);
    printing_flag = 0;
  }
  void TearDown() override {
    close_all_ports();
    platform::set_debug_output({});
  }

  void add(std::string cells) { doc.append_line(make_braille_line(cells)); }

  // Runs a job to its end; the WM_JOB_DONE value.
  int run(int copies = 1, int pitch_test = 0) {
    start_emboss_job(settings, "doc.NRK", &observer, &doc, copies, pitch_test);
    return observer.wait_done();
  }

  std::string line() {
    return fake.locked([&] { return fake.device(1).line; });
  }

  std::string cell_at(int pattern, int x, int y) {
    // What plot_cell sends, built from the address encoding.
    auto addr = [](int ax, int ay) {
      const Address a = encode_address(ax, ay);
      return std::string(reinterpret_cast<const char*>(a.bytes), 4);
    };
    const int dx = 7, dy = 6, bp = 6;
    std::string out = "\x1D" + addr(x, y);
    for (int d = 0; d < 3; ++d)
      if (pattern & (1 << d)) out += addr(x + bp + d * dx, y);
    out += bytes({0x0D, 0x1B, 0x1B, 0x47});
    out += "\x1D" + addr(x, y + dy);
    for (int d = 0; d < 3; ++d)
      if (pattern & (8 << d)) out += addr(x + bp + d * dx, y + dy);
    return out;
  }

  FakeCommApi fake;
  tenji::testing::IdleHookOverride idle_hook;
  PrintSettings settings;
  BrailleDocument doc;
  RecordingObserver observer;
};

TEST_F(JobTest, TwoLinesGiveTheFiftyThreeByteStream) {
  add("\xA1");
  add("\xA9");
  EXPECT_EQ(run(), 1);
  const std::string expected = tenji::testing::two_line_job_stream();
  ASSERT_EQ(expected.size(), 53u);
  EXPECT_EQ(line(), expected);
  EXPECT_TRUE(observer.messages().empty());
  EXPECT_EQ(open_ports, nullptr);
  EXPECT_EQ(printing_flag.load(), 1);
  const JobProgress p = observer.last_progress();
  EXPECT_EQ(p.bytes_sent, 53u);
  EXPECT_EQ(p.bytes_total, 53u);
  // XON/XOFF flow by default, then DTR/DSR on.
  const DCB& last = fake.device(1).applied.back();
  EXPECT_EQ(last.fOutX, 1);
  EXPECT_EQ(last.fOutxCtsFlow, 0);
  EXPECT_EQ(last.fDtrControl, DTR_CONTROL_HANDSHAKE);
  EXPECT_EQ(last.BaudRate, 1200u);
}

TEST_F(JobTest, CellsArePlacedByMillimetresConvertedPerCell) {
  add(std::string(3, '\xA9'));
  add(std::string(3, '\xA9'));
  EXPECT_EQ(run(), 1);
  // The third cell of the second line: line_mm 10.47, cell_mm 10.36.
  EXPECT_NE(line().find(cell_at(9, 33, 30)), std::string::npos);
  EXPECT_NE(line().find(cell_at(9, 0, 15)), std::string::npos);  // 5.18 mm
}

TEST_F(JobTest, NoCopiesSendOnlyResetAndCr) {
  add("\xA1");
  EXPECT_EQ(run(0), 1);
  EXPECT_EQ(line(), RESET + CR);
}

TEST_F(JobTest, NothingToPrintSendsOnlyPageEnds) {
  EXPECT_EQ(run(2), 1);
  EXPECT_EQ(line(), RESET + PAGE_END + PAGE_END + CR);
}

TEST_F(JobTest, LppZeroPrintsNoLine) {
  add("\xA1");
  settings.LPP = 0;
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(line(), RESET + PAGE_END + CR);
}

TEST_F(JobTest, LinesAreCutAtCplAndLinesBeyondLppAreNotPrinted) {
  settings.CPL = 2;
  settings.LPP = 2;
  add("\xA1\xA2\xA3\xA4");
  add("\xA5");
  add("\xA6");
  EXPECT_EQ(run(), 1);
  const std::string expected = RESET + DOT_SIZE_1 + cell_at(1, 0, 0) + cell_at(2, 0, 15) + cell_at(5, 33, 0) +
                               PAGE_END + CR;
  EXPECT_EQ(line(), expected);
}

TEST_F(JobTest, TwoCopiesResendTheDotSizeAndStartAtTheTop) {
  add("\xA1");
  EXPECT_EQ(run(2), 1);
  const std::string copy = DOT_SIZE_1 + cell_at(1, 0, 0) + PAGE_END;
  EXPECT_EQ(line(), RESET + copy + copy + CR);
}

TEST_F(JobTest, AnEmptyLineLeavesABlankLine) {
  add("\xA1");
  add("");
  add("\xA1");
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(line(), RESET + DOT_SIZE_1 + cell_at(1, 0, 0) + cell_at(1, 66, 0) + PAGE_END + CR);  // 20.94 mm
}

TEST_F(JobTest, PitchTestPutsEveryCellAtThePitch) {
  doc.append_line(make_braille_line("\xDF"));
  settings.PITCH_X = 0;
  settings.PITCH_Y = 0;
  EXPECT_EQ(run(1, 1), 1);
  const std::string expected = tenji::testing::pitch_test_origin_stream();
  EXPECT_EQ(line(), expected);
}

TEST_F(JobTest, PitchTestValuesGoOutUnconverted) {
  add("\xA1\xA1");
  settings.PITCH_X = 100;
  settings.PITCH_Y = 9999;
  EXPECT_EQ(run(1, 1), 1);
  EXPECT_EQ(line(), RESET + DOT_SIZE_1 + cell_at(1, 100, 9999) + cell_at(1, 100, 9999) + PAGE_END + CR);
}

void expect_connection_failure(RecordingObserver& observer) {
  const auto messages = observer.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "点字プリンターの接続を確認してください。");
  EXPECT_EQ(messages[0].caption, "印刷エラー");
  EXPECT_EQ(messages[0].icon, MessageIcon::error);
}

TEST_F(JobTest, APortThatDoesNotOpenEndsWithTheConnectionMessage) {
  settings.COM_PORT = 5;  // no device
  add("\xA1");
  EXPECT_EQ(run(), 2);
  expect_connection_failure(observer);
  EXPECT_EQ(open_ports, nullptr);
  EXPECT_EQ(printing_flag.load(), 0);
}

TEST_F(JobTest, RefusedLineSettingsCloseThePortSoTheNextPrintCanOpenIt) {
  fake.device(1).refuse_set_state = 1;
  add("\xA1");
  EXPECT_EQ(run(), 2);
  expect_connection_failure(observer);
  EXPECT_FALSE(fake.device(1).open);
  EXPECT_EQ(open_ports, nullptr);
  EXPECT_EQ(line(), "");
}

TEST_F(JobTest, CtsOffEndsWithTheConnectionMessage) {
  fake.device(1).modem_status = 0x20;
  add("\xA1");
  EXPECT_EQ(run(), 2);
  expect_connection_failure(observer);
  EXPECT_FALSE(fake.device(1).open);
  EXPECT_EQ(line(), "");
}

TEST_F(JobTest, ASpeedIndexWithoutABaudRateFailsWithoutOpening) {
  settings.COM_SPEED = 4;
  add("\xA1");
  EXPECT_EQ(run(), 2);
  expect_connection_failure(observer);
  EXPECT_TRUE(fake.calls.empty());
}

TEST_F(JobTest, RtsCtsFlowWhenAsked) {
  settings.COM_FLOW = 2;
  settings.COM_SPEED = 3;
  EXPECT_EQ(run(), 1);
  const DCB& last = fake.device(1).applied.back();
  EXPECT_EQ(last.fOutX, 0);
  EXPECT_EQ(last.fOutxCtsFlow, 1);
  EXPECT_EQ(last.fRtsControl, RTS_CONTROL_HANDSHAKE);
  EXPECT_EQ(last.BaudRate, 9600u);
}

TEST_F(JobTest, CancelAfterACellSendsOnlyCr) {
  add("\xA1\xA2\xA3");
  add("\xA4");
  observer.on_progress = [](const JobProgress& p) {
    if (p.cell == 1) cancel_printing();
  };
  EXPECT_EQ(run(2), 1);
  EXPECT_EQ(line(), RESET + DOT_SIZE_1 + cell_at(1, 0, 0) + CR);
  EXPECT_TRUE(observer.messages().empty());
  EXPECT_EQ(open_ports, nullptr);
}

class HeldLineJobTest : public JobTest {
 protected:
  // Starts a long job on a held line and waits until it is stuck on the full
  // transmit queue.
  void start_on_held_line() {
    for (int i = 0; i < 40; ++i) add(std::string(32, '\xDF'));
    fake.locked([&] { return fake.device(1).hold = true; });
    start_emboss_job(settings, "doc.NRK", &observer, &doc, 1, 0);
    for (int i = 0; i < 5000; ++i) {
      if (fake.locked([&] { return fake.device(1).queue.size(); }) == 1050) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
};

TEST_F(HeldLineJobTest, CancelDuringTheWaitDiscardsTheQueueAndSendsCr) {
  fake.tick_step = 0;  // the clock stands still, so the held line never counts as stalled
  start_on_held_line();
  EXPECT_EQ(line(), "");
  cancel_printing();
  for (int i = 0; i < 5000 && fake.locked([&] { return fake.device(1).purges; }) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  fake.locked([&] { return fake.device(1).hold = false; });  // the embosser takes data again
  EXPECT_EQ(observer.wait_done(), 1);
  EXPECT_EQ(fake.device(1).purges, 1);
  EXPECT_EQ(line(), CR);  // what was queued is gone; only CR follows
  EXPECT_FALSE(fake.device(1).open);
  EXPECT_TRUE(observer.messages().empty());
}

TEST_F(HeldLineJobTest, ALineHeldForEverStillLetsACancelledJobEnd) {
  start_on_held_line();
  cancel_printing();
  EXPECT_EQ(observer.wait_done(), 1);
  EXPECT_FALSE(fake.device(1).open);
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
  EXPECT_EQ(printing_flag.load(), 0);
  EXPECT_EQ(line(), "");
  EXPECT_FALSE(fake.device(1).open);
}

TEST_F(JobTest, ADeadLineEndsTheJobAsAFailure) {
  for (int i = 0; i < 3; ++i) add("\xA1\xA2");
  std::vector<std::string> debug;
  platform::set_debug_output([&](std::string_view t) { debug.emplace_back(t); });
  fake.tick_step = 10;
  observer.on_progress = [this](const JobProgress& p) {
    if (p.cell == 1) fake.locked([&] { return fake.device(1).gone = true; });
  };
  EXPECT_EQ(run(), 2);
  expect_connection_failure(observer);
  EXPECT_FALSE(fake.device(1).open);
  EXPECT_EQ(open_ports, nullptr);
  platform::set_debug_output([](std::string_view) {});
  ASSERT_FALSE(debug.empty());
  EXPECT_EQ(debug.back(), "GL Error -9");
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
