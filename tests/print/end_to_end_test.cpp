// The job through the platform's own serial backend, a real pseudo-terminal
// and the virtual embosser process.
#include <gtest/gtest.h>

#include <string>

#include "platform/debug_output.h"
#include "print/emboss_job.h"
#include "print/printing_flag.h"
#include "serial/serial_internal.h"
#include "stream_decoder.h"
#include "support/recording_observer.h"
#include "support/virtual_embosser_process.h"

namespace tenji {
namespace {

TEST(EndToEnd, AnEmbosserThatHoldsTheLineWithXoffGetsEveryByte) {
  struct ClosePorts {
    ~ClosePorts() { close_all_ports(); }
  } close_ports;
  platform::ScopedHook<platform::DebugSink> quiet{platform::debug_output_hook, [](std::string_view) {}};
  tenji::testing::VirtualEmbosserProcess embosser(1, 1, "--hold-after 1500 --hold-ms 400");
  ASSERT_TRUE(embosser.ready());
  PrintSettings settings = default_print_settings();
  settings.COM_SPEED = 3;
  BrailleDocument doc;
  for (int i = 0; i < 8; ++i) doc.append_line(make_braille_line(std::string(32, static_cast<char>(0xA0 + i * 7))));
  tenji::testing::RecordingObserver observer;
  printing_flag = 0;
  start_emboss_job(settings, "page.NRK", &observer, &doc, 1, 0);
  ASSERT_EQ(observer.wait_done(), 1);
  ASSERT_TRUE(embosser.wait_exit());
  const std::string got = embosser.file("job-1.bin");
  EXPECT_EQ(got.size(), planned_stream_bytes(settings, doc, 1));
  EXPECT_TRUE(embosser::decode_stream(got).errors.empty());
  EXPECT_TRUE(observer.messages().empty());
}

}  // namespace
}  // namespace tenji
