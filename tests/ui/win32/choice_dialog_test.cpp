// The list that asks which library of a file with several to open, run
// modally and answered through its keys from a timer.
#include "ui/win32/choice_dialog.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

struct Seen {
  bool opened = false;
  LRESULT count = 0;
  LRESULT selectedAtStart = LB_ERR;
  Text caption;
};
Seen g_seenChoice;
WPARAM g_key = VK_RETURN;

void CALLBACK AnswerChoice(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = FindWindowW(kChoiceDialogClass, nullptr);
  if (!window) return;
  KillTimer(nullptr, timer);
  HWND list = FindWindowExW(window, nullptr, L"LISTBOX", nullptr);
  g_seenChoice.opened = true;
  g_seenChoice.count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  g_seenChoice.selectedAtStart = SendMessageW(list, LB_GETCURSEL, 0, 0);
  g_seenChoice.caption = WindowText(window);
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  // Through the modal loop, as the user's key.
  PostMessageW(list, WM_KEYDOWN, g_key, 0);
}

TEST(Win32ChoiceDialog, EnterTakesTheSelectedItemAndEscCancels) {
  const TextList items{u"1: MSForms {0D452EE1-E08F-101A-852E-02608C4D0BB4} 2.0", u"2: MSForms", u"3: Other"};
  g_seenChoice = {};
  g_key = VK_RETURN;
  SetTimer(nullptr, 0, 50, AnswerChoice);
  EXPECT_EQ(ChooseFromList(nullptr, u"View TypeLib", u"This file holds several type libraries:", items),
            std::optional<size_t>(1));
  EXPECT_TRUE(g_seenChoice.opened);
  EXPECT_EQ(g_seenChoice.count, 3);
  EXPECT_EQ(g_seenChoice.selectedAtStart, 0);
  EXPECT_EQ(g_seenChoice.caption, u"View TypeLib");
  EXPECT_EQ(FindWindowW(kChoiceDialogClass, nullptr), nullptr) << "the window is gone";

  g_seenChoice = {};
  g_key = VK_ESCAPE;
  SetTimer(nullptr, 0, 50, AnswerChoice);
  EXPECT_EQ(ChooseFromList(nullptr, u"View TypeLib", u"", items), std::nullopt);
  EXPECT_TRUE(g_seenChoice.opened);
}

}  // namespace
}  // namespace brannock::ui::testing
