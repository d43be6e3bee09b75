// The job through the platform's own serial backend, a real pseudo-terminal
// and the virtual embosser process.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/debug_output.h"
#include "print/emboss_job.h"
#include "print/printing_flag.h"
#include "serial/serial_internal.h"
#include "support/expected_streams.h"
#include "support/nrk_builder.h"
#include "support/recording_observer.h"
#include "support/virtual_embosser_process.h"

namespace tenji {
namespace {

using tenji::testing::bytes;
using tenji::testing::RecordingObserver;
using tenji::testing::VirtualEmbosserProcess;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = default_print_settings();
    settings.COM_SPEED = 3;
    printing_flag = 0;
  }
  void TearDown() override { close_all_ports(); }
  platform::ScopedHook<platform::DebugSink> quiet{platform::debug_output_hook, [](std::string_view) {}};
  PrintSettings settings;
  BrailleDocument doc;
  RecordingObserver observer;
};

TEST_F(EndToEnd, TheFiftyThreeByteExampleArrivesExactly) {
  VirtualEmbosserProcess embosser(1, 1);
  ASSERT_TRUE(embosser.ready());
  doc.append_line(make_braille_line("\xA1"));
  doc.append_line(make_braille_line("\xA9"));
  start_emboss_job(settings, "two.NRK", &observer, &doc, 1, 0);
  ASSERT_EQ(observer.wait_done(), 1);
  ASSERT_TRUE(embosser.wait_exit());
  const std::string expected = tenji::testing::two_line_job_stream();
  EXPECT_EQ(embosser.file("job-1.bin"), expected);
  const std::string json = embosser.file("job-1.json");
  EXPECT_NE(json.find("{\"x\": 6, \"y\": 0, \"x_mm\": 1.905, \"y_mm\": 0, \"size\": 1}"), std::string::npos);
  EXPECT_NE(json.find("{\"x\": 39, \"y\": 0, \"x_mm\": 12.3825, \"y_mm\": 0, \"size\": 1}"), std::string::npos);
  EXPECT_NE(json.find("{\"x\": 39, \"y\": 6, \"x_mm\": 12.3825, \"y_mm\": 2.0724, \"size\": 1}"), std::string::npos);
  EXPECT_NE(json.find("\"protocol_errors\": []"), std::string::npos);
  EXPECT_FALSE(embosser.file("job-1-page-1.png").empty());
}

TEST_F(EndToEnd, AnEmbosserThatHoldsTheLineWithXoffGetsEveryByte) {
  VirtualEmbosserProcess embosser(1, 1, "--hold-after 1500 --hold-ms 400");
  ASSERT_TRUE(embosser.ready());
  for (int i = 0; i < 8; ++i) doc.append_line(make_braille_line(std::string(32, static_cast<char>(0xA0 + i * 7))));
  start_emboss_job(settings, "page.NRK", &observer, &doc, 1, 0);
  ASSERT_EQ(observer.wait_done(), 1);
  ASSERT_TRUE(embosser.wait_exit());
  EXPECT_EQ(embosser.file("job-1.bin").size(), planned_stream_bytes(settings, doc, 1));
  EXPECT_TRUE(observer.messages().empty());
}

TEST_F(EndToEnd, ALineHeldByXoffAfterCancelIsGivenUpAfterTenSecondsWithItsMessage) {
  VirtualEmbosserProcess embosser(1, 1, "--hold-after 200 --hold-ms 30000");
  ASSERT_TRUE(embosser.ready());
  for (int i = 0; i < 200; ++i) doc.append_line(make_braille_line(std::string(32, '\xDF')));
  start_emboss_job(settings, "long.NRK", &observer, &doc, 1, 0);
  // Let the job run into the held line and wait there, then cancel.
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  EXPECT_FALSE(observer.done());
  const auto cancelled_at = std::chrono::steady_clock::now();
  cancel_printing();
  ASSERT_EQ(observer.wait_done(30), 1);
  const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - cancelled_at).count();
  EXPECT_GE(waited, 10.0);
  EXPECT_LT(waited, 11.5);
  ASSERT_EQ(observer.messages().size(), 1u);
  EXPECT_EQ(observer.messages()[0].text, LINE_HELD_MESSAGE);
  EXPECT_EQ(open_ports, nullptr);
}

}  // namespace
}  // namespace tenji
