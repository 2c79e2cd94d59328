// The busy state's order, which both front ends follow.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/logic/busy_scope.h"

using namespace brannock;
using ui::BusyScope;

namespace {

class RecordingDisplay : public ui::BusyDisplay {
 public:
  std::vector<std::string> calls;
  void SetWaitCursor(bool wait) override { calls.push_back(wait ? "wait" : "default"); }
  void SetStatusText(TextView text) override { calls.push_back("status " + Utf16ToUtf8(text)); }
  void Repaint() override { calls.push_back("repaint"); }
};

using Calls = std::vector<std::string>;

}  // namespace

TEST(BusyScope, ShowsThenRestoresInTheWindowLogicsOrderOnEveryWayOut) {
  RecordingDisplay display;
  { BusyScope busy(display, BusyScope::Cursor::Wait); }
  EXPECT_EQ(display.calls, (Calls{"wait", "status Working...", "repaint", "default", "status Ready"}));

  // A handler that raises still restores both.
  display.calls.clear();
  EXPECT_THROW(
      {
        BusyScope busy(display, BusyScope::Cursor::Wait);
        throw std::runtime_error("read failed");
      },
      std::runtime_error);
  EXPECT_EQ(display.calls, (Calls{"wait", "status Working...", "repaint", "default", "status Ready"}));

  // The status alone (the viewer command), and another status text.
  display.calls.clear();
  { BusyScope busy(display, BusyScope::Cursor::Unchanged); }
  { BusyScope busy(display, BusyScope::Cursor::Wait, ui::kPrintingText); }
  EXPECT_EQ(display.calls, (Calls{"status Working...", "repaint", "status Ready", "wait", "status Printing...",
                                  "repaint", "default", "status Ready"}));
}

TEST(BusyScope, CursorOnlyAndAnEarlyEndThatRunsOnce) {
  RecordingDisplay display;
  {
    BusyScope busy(display, BusyScope::Cursor::Wait, u"");
    EXPECT_EQ(display.calls, Calls{"wait"});
    busy.End();  // before a message box
    EXPECT_EQ(display.calls, (Calls{"wait", "default"}));
    busy.End();
  }
  EXPECT_EQ(display.calls, (Calls{"wait", "default"}));
}

TEST(BusyScope, TheCursorBackBeforeABoxWhileTheStatusStays) {
  RecordingDisplay display;
  {
    BusyScope busy(display, BusyScope::Cursor::Wait);
    busy.RestoreCursor();
    busy.RestoreCursor();
    EXPECT_EQ(display.calls, (Calls{"wait", "status Working...", "repaint", "default"}));
  }
  EXPECT_EQ(display.calls, (Calls{"wait", "status Working...", "repaint", "default", "status Ready"}));
}
