// The dialog layer as every backend must behave: run against Qt here and
// against Win32 under Wine.
#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "resources/resource_ids.h"
#include "support/window_actions.h"
#include "ui/ui_services.h"

namespace tenji::ui {
namespace {

// Records its messages; WM_USER + 99 ends it with its wparam. With `early`,
// it posts that end while it is made.
class Probe : public Dialog {
 public:
  explicit Probe(bool early = false) : Dialog(resources::IDD_PRINTING, nullptr), early_(early) {}
  std::vector<unsigned> messages;

 protected:
  bool on_init_dialog() override {
    if (early_) post_message(WM_USER + 99, 5, 0);
    return true;
  }
  std::intptr_t window_proc(unsigned m, std::uintptr_t w, std::intptr_t) override {
    messages.push_back(m);
    if (m == WM_USER + 99) end_dialog(static_cast<int>(w));
    return 0;
  }

 private:
  bool early_;
};

TEST(Messages, PostedFromAnotherThreadArriveInOrder) {
  Probe probe;
  std::thread sender;
  platform::ScopedHook shown(dialog_shown_hook, [&](Dialog&) {
    sender = std::thread([&] {
      for (unsigned i = 0; i < 200; ++i) probe.post_message(WM_USER + 2 + i % 50, 0, 0);
      probe.post_message(WM_USER + 99, 7, 0);
    });
  });
  EXPECT_EQ(probe.do_modal(), 7);
  sender.join();
  ASSERT_EQ(probe.messages.size(), 201u);
  for (unsigned i = 0; i < 200; ++i) ASSERT_EQ(probe.messages[i], WM_USER + 2 + i % 50);
}

TEST(Messages, OnesPostedWhileTheWindowIsMadeAreHandledBeforeItShows) {
  Probe probe(true);
  bool shown = false;
  platform::ScopedHook hook(dialog_shown_hook, [&](Dialog& d) {
    shown = true;
    d.end_dialog(IDCANCEL);
  });
  EXPECT_EQ(probe.do_modal(), 5);
  EXPECT_FALSE(shown);
}

TEST(Keys, EnterPressesTheDefaultButtonAndEscapeCancels) {
  Dialog pitch(resources::IDD_PITCH_TEST, nullptr);
  platform::ScopedHook enter(dialog_shown_hook, [](Dialog& d) { testing::press_enter(d, resources::IDC_PITCH_Y); });
  EXPECT_EQ(pitch.do_modal(), IDOK);
  platform::ScopedHook escape(dialog_shown_hook, [](Dialog& d) { testing::press_escape(d, [] {}); });
  EXPECT_EQ(pitch.do_modal(), IDCANCEL);
}

TEST(Edits, TheProgramsTextPassesTheTypingLimitAndReadingCutsAtSeven) {
  Dialog copies(resources::IDD_COPIES, nullptr);
  std::string whole, limited, typed;
  platform::ScopedHook work(dialog_shown_hook, [&](Dialog& d) {
    d.limit_text(resources::IDC_COPIES, 3);
    d.set_item_text(resources::IDC_COPIES, "123456789");
    whole = d.item_text(resources::IDC_COPIES);
    limited = d.item_text_limited(resources::IDC_COPIES);
    d.set_item_text(resources::IDC_COPIES, "");
    testing::type_keys(d, resources::IDC_COPIES, "12345");
    typed = d.item_text(resources::IDC_COPIES);
    d.end_dialog(IDOK);
  });
  copies.do_modal();
  EXPECT_EQ(whole, "123456789");
  EXPECT_EQ(limited, "1234567");
  EXPECT_EQ(typed, "123");
}

}  // namespace
}  // namespace tenji::ui
