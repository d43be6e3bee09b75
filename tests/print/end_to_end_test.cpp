// The job through the platform's own serial backend, a real pseudo-terminal
// and the virtual embosser process.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/debug_output.h"
#include "print/emboss_job.h"
#include "print/printing_flag.h"
#include "serial/serial_internal.h"
#include "print/stream_decoder.h"
#include "support/recording_observer.h"
#include "support/virtual_embosser_process.h"

namespace tenji {
namespace {

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.COM_SPEED = 3;
    printing_flag = 0;
  }
  void TearDown() override { close_all_ports(); }
  platform::ScopedHook<platform::DebugSink> quiet{platform::debug_output_hook, [](std::string_view) {}};
  PrintSettings settings = default_print_settings();
  BrailleDocument doc;
  tenji::testing::RecordingObserver observer;
};

TEST_F(EndToEnd, AnEmbosserThatHoldsTheLineWithXoffGetsEveryByte) {
  tenji::testing::VirtualEmbosserProcess embosser(1, 1, "--hold-after 1500 --hold-ms 400");
  ASSERT_TRUE(embosser.ready());
  for (int i = 0; i < 8; ++i) doc.append_line(make_braille_line(std::string(32, static_cast<char>(0xA0 + i * 7))));
  start_emboss_job(settings, "page.NRK", &observer, &doc, 1, 0);
  ASSERT_EQ(observer.wait_done(), 1);
  ASSERT_TRUE(embosser.wait_exit());
  const std::string got = embosser.file("job-1.bin");
  EXPECT_EQ(got.size(), planned_stream_bytes(settings, doc, 1));
  EXPECT_TRUE(decode_stream(got).errors.empty());
  EXPECT_TRUE(observer.messages().empty());
}

TEST_F(EndToEnd, ALineHeldByXoffAfterCancelIsGivenUpAfterTenSecondsWithItsMessage) {
  tenji::testing::VirtualEmbosserProcess embosser(1, 1, "--hold-after 200 --hold-ms 30000");
  ASSERT_TRUE(embosser.ready());
  for (int i = 0; i < 200; ++i) doc.append_line(make_braille_line(std::string(32, '\xDF')));
  start_emboss_job(settings, "long.NRK", &observer, &doc, 1, 0);
  // Into the held line: the embosser has taken 200 bytes and its buffer has
  // filled beyond the point where it sends XOFF (384 bytes).
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (observer.last_progress().bytes_sent < 200 + 384 + 16 && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_FALSE(observer.done());
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
