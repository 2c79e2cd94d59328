// Object > "Check Registrations" and the Security page of the Win32 main
// window under Wine: the findings list shows, row for row, what the Linux
// build's --check prints for the same prefix; a double click (or Enter)
// selects the row's object in the tree with its pane, Esc closes the list;
// the Security page of an AppID and of a class with one. Run by
// scripts/wine-window-stage.sh, which sets
//   BRANNOCK_CHECK_EXPECTED  the Linux build's `--format csv --check` of the prefix
// in a prefix holding the permission fixtures (plant_permission_fixtures).
#include "ui/logic/check_window.h"
#include "ui/logic/security_page.h"
#include "ui/win32/check_list_window.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

// The fields of a line of the check's CSV: ";" between them, a field with
// ";" or a quote in quotes, its quotes doubled.
std::vector<Text> CsvFields(const Text& line) {
  std::vector<Text> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
      fields.back() += c;
      ++i;
    } else if (c == u'"') {
      quoted = !quoted;
    } else if (c == u';' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

struct Finding {
  Text severity, kind, name, guid, keyPath, reason;
};

std::vector<Finding> ExpectedFindings(const std::string& file) {
  std::vector<Finding> findings;
  std::istringstream lines(ReadFileText(file));
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    const std::vector<Text> f = CsvFields(Utf8ToUtf16(line));
    if (f.size() == 6) findings.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
  }
  return findings;
}

// What the findings list showed, and how it was answered.
struct ListSeen {
  bool opened = false;
  Text caption, count, statusWhenShown, firstTip;
  std::vector<Text> columns;
  struct Row {
    int image = -1;
    Text object, reason;
  };
  std::vector<Row> rows;
};

ListSeen g_shown;
TfrmMain* g_checkFrm = nullptr;
// The answer: a double click on this row, Enter on it, or Esc.
enum class ListAnswer { DoubleClick, Enter, Escape };
ListAnswer g_answer = ListAnswer::Escape;
int g_row = 0;

void CALLBACK Look(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = FindWindowW(kCheckListClass, nullptr);
  if (!window) return;
  KillTimer(nullptr, timer);
  HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
  HWND count = FindWindowExW(window, nullptr, L"STATIC", nullptr);
  g_shown.opened = true;
  g_shown.caption = WindowText(window);
  g_shown.count = WindowText(count);
  g_shown.statusWhenShown = g_checkFrm->StatusText();
  HWND header = ListView_GetHeader(list);
  for (int c = 0; c < Header_GetItemCount(header); ++c) {
    wchar_t text[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    Header_GetItem(header, c, &item);
    g_shown.columns.push_back(platform::FromWide(text, wcslen(text)));
  }
  for (int i = 0, n = ListView_GetItemCount(list); i < n; ++i) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    ListView_GetItem(list, &item);
    g_shown.rows.push_back({item.iImage, ListText(list, i, 0), ListText(list, i, 1)});
  }
  // The tip of a row is its key path.
  wchar_t tip[1024] = {};
  NMLVGETINFOTIPW info{};
  info.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_GETINFOTIPW};
  info.pszText = tip;
  info.cchTextMax = 1024;
  SendMessageW(window, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  g_shown.firstTip = platform::FromWide(tip, wcslen(tip));

  // Through the modal loop, as the user's mouse and keys.
  ListView_EnsureVisible(list, g_row, FALSE);
  ListView_SetItemState(list, g_row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  RECT at{};
  ListView_GetItemRect(list, g_row, &at, LVIR_LABEL);
  const LPARAM point = MAKELPARAM((at.left + at.right) / 2, (at.top + at.bottom) / 2);
  switch (g_answer) {
    case ListAnswer::DoubleClick: PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point); break;
    case ListAnswer::Enter: PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0); break;
    case ListAnswer::Escape: PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0); break;
  }
}

// Runs Object > "Check Registrations", answered as asked.
ListSeen RunCheck(TfrmMain& frm, ListAnswer answer, int row) {
  g_shown = {};
  g_checkFrm = &frm;
  g_answer = answer;
  g_row = row;
  SetTimer(nullptr, 0, 50, Look);
  Command(frm, cmdCheck);
  EXPECT_EQ(FindWindowW(kCheckListClass, nullptr), nullptr) << "the list is gone";
  return g_shown;
}

TEST(Win32CheckWindow, TheFindingsOfTheLinuxBuildAndTheObjectOfARow) {
  const std::string expectedFile = Env("BRANNOCK_CHECK_EXPECTED");
  if (expectedFile.empty()) GTEST_SKIP() << "run by scripts/wine-window-stage.sh";
  const std::vector<Finding> expected = ExpectedFindings(expectedFile);
  ASSERT_FALSE(expected.empty());
  // The rows of classes, which the tree shows.
  std::vector<int> classRows;
  for (size_t i = 0; i < expected.size(); ++i)
    if (expected[i].kind == u"class") classRows.push_back(static_cast<int>(i));
  ASSERT_GE(classRows.size(), 2u) << "the fixtures hold classes whose server is missing";

  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  w.frm->Show(SW_SHOW);
  EXPECT_TRUE(MenuEnabled(frm.Menu, cmdCheck));
  wchar_t menuText[64] = {};
  GetMenuStringW(frm.Menu, cmdCheck, menuText, 64, MF_BYCOMMAND);
  EXPECT_EQ(platform::FromWide(menuText, wcslen(menuText)), u"Check Registrations");

  const ListSeen shown = RunCheck(frm, ListAnswer::DoubleClick, classRows[0]);
  ASSERT_TRUE(shown.opened);
  EXPECT_EQ(shown.caption, u"Registration Check");
  EXPECT_EQ(shown.columns, (std::vector<Text>{u"Object", u"Reason"}));
  EXPECT_EQ(shown.statusWhenShown, u"Ready") << "the list shows once the check is over";
  size_t counts[3] = {};
  ASSERT_EQ(shown.rows.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(Utf16ToUtf8(expected[i].keyPath + u": " + expected[i].reason));
    const Finding& e = expected[i];
    const int image = e.severity == u"error" ? 0 : e.severity == u"warning" ? 1 : 2;
    ++counts[image];
    EXPECT_EQ(shown.rows[i].image, image);
    EXPECT_EQ(shown.rows[i].reason, e.reason);
    if (!e.kind.empty()) {
      EXPECT_EQ(shown.rows[i].object.rfind(e.kind + u" " + e.name, 0), 0u);
    }
    if (!e.guid.empty()) {
      EXPECT_NE(shown.rows[i].object.find(e.guid), Text::npos);
    }
  }
  EXPECT_EQ(shown.firstTip, expected[0].keyPath);
  EXPECT_EQ(shown.count.rfind(UIntToText(counts[0]) + u" error", 0), 0u) << Utf16ToUtf8(shown.count);
  EXPECT_NE(shown.count.find(u". Double-click a row to select its object."), Text::npos);
  // The double-clicked row's class: selected, its root open, its pane shown.
  EXPECT_EQ(SelectedGuid(w), expected[static_cast<size_t>(classRows[0])].guid);
  EXPECT_EQ(WindowText(frm.eGUID), expected[static_cast<size_t>(classRows[0])].guid);
  EXPECT_TRUE(IsExpanded(frm.Tree, frm.OCRoot));
  EXPECT_EQ(GetFocus(), frm.Tree);
  EXPECT_EQ(frm.StatusText(), u"Ready");

  // Enter takes the row selected; Esc changes nothing.
  const Text other = expected[static_cast<size_t>(classRows[1])].guid;
  EXPECT_TRUE(RunCheck(frm, ListAnswer::Enter, classRows[1]).opened);
  EXPECT_EQ(SelectedGuid(w), other);
  EXPECT_TRUE(RunCheck(frm, ListAnswer::Escape, classRows[0]).opened);
  EXPECT_EQ(SelectedGuid(w), other);
  EXPECT_TRUE(captured.reports.empty()) << Utf16ToUtf8(captured.reports.empty() ? Text() : captured.reports[0]);
}

// The tab texts of the pane, in order.
std::vector<Text> Tabs(HWND pc) {
  std::vector<Text> tabs;
  for (int i = 0, n = TabCtrl_GetItemCount(pc); i < n; ++i) {
    wchar_t text[64] = {};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = 64;
    TabCtrl_GetItem(pc, i, &tab);
    tabs.push_back(platform::FromWide(text, wcslen(text)));
  }
  return tabs;
}

// A click on the tab, as the user's mouse.
void ClickTab(HWND pc, int index) {
  RECT at{};
  TabCtrl_GetItemRect(pc, index, &at);
  const LPARAM point = MAKELPARAM((at.left + at.right) / 2, (at.top + at.bottom) / 2);
  SendMessageW(pc, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(pc, WM_LBUTTONUP, 0, point);
}

TEST(Win32MainWindow, TheSecurityPageOfAnAppIdAndOfAClassWithOne) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  w.frm->Show(SW_SHOW);
  const Text ole = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole";
  const Text launchDefault = u"   O:BAG:BAD:(A;;CCDCLCSWRP;;;SY)(A;;CCDCLCSWRP;;;BA)(A;;CCDCLCSWRP;;;IU)\r\n";

  // The fixture AppID has no permissions of its own: the machine's
  // defaults, said so.
  HTREEITEM appId = w.Find(TObjectType::otAppID, u"{B4A22020-0000-4000-8000-000000000020}");
  ASSERT_TRUE(appId);
  w.Select(appId);
  EXPECT_EQ(Tabs(frm.pc), (std::vector<Text>{u" Registry ", u" References ", u" Security "}));
  EXPECT_TRUE(Shown(frm.RegTree));
  EXPECT_FALSE(Shown(frm.SecurityText));
  ClickTab(frm.pc, 2);
  EXPECT_FALSE(Shown(frm.RegTree));
  EXPECT_FALSE(Shown(frm.bCopy));
  EXPECT_TRUE(Shown(frm.SecurityText));
  const Text text = WindowText(frm.SecurityText);
  EXPECT_EQ(text.rfind(u"AppID {B4A22020-0000-4000-8000-000000000020} (Brannock Test AppID)\r\n", 0), 0u)
      << Utf16ToUtf8(text);
  EXPECT_NE(text.find(u"the machine default applies, DefaultLaunchPermission of " + ole + u"\r\n" + launchDefault),
            Text::npos)
      << Utf16ToUtf8(text);
  EXPECT_NE(text.find(u"   Allow INTERACTIVE (S-1-5-4): Local Launch, Remote Launch, Local Activation, Remote "
                      u"Activation\r\n"),
            Text::npos);
  // The page says what the shared logic gives for the object.
  const TObjectData& record = w.catalogue.List(TObjectType::otAppID)[static_cast<size_t>(frm.NodeOf(appId)->Index)];
  EXPECT_EQ(text, SecurityPageOf(record, w.registry, w.registry).text);

  // An AppID with a LaunchPermission of its own (the first fixture
  // descriptor); the Security page stays the one shown.
  w.Select(w.Find(TObjectType::otAppID, u"{B4A22500-0000-4000-8000-000000000001}"));
  EXPECT_TRUE(Shown(frm.SecurityText));
  EXPECT_NE(WindowText(frm.SecurityText).find(u"LaunchPermission of HKEY_CLASSES_ROOT\\AppID\\"
                                              u"{B4A22500-0000-4000-8000-000000000001}\r\n" + launchDefault),
            Text::npos)
      << Utf16ToUtf8(WindowText(frm.SecurityText));

  // A class that names the AppID shows its page.
  w.Select(w.Find(TObjectType::otCLSID, u"{B4A22001-0000-4000-8000-000000000001}"));
  EXPECT_EQ(Tabs(frm.pc).size(), 3u);
  EXPECT_EQ(WindowText(frm.SecurityText).rfind(u"The class runs in the AppID {B4A22020-0000-4000-8000-000000000020}", 0),
            0u);
  // A class without one: no Security page, the Registry page shown.
  w.Select(w.Find(TObjectType::otCLSID, u"{B4A22002-0000-4000-8000-000000000002}"));
  EXPECT_EQ(Tabs(frm.pc), (std::vector<Text>{u" Registry ", u" References "}));
  EXPECT_TRUE(Shown(frm.RegTree));
  EXPECT_FALSE(Shown(frm.SecurityText));
  // A root: no pane at all.
  w.Select(frm.AIRoot);
  EXPECT_FALSE(Shown(frm.pc));
  EXPECT_FALSE(Shown(frm.SecurityText));
  EXPECT_TRUE(captured.reports.empty()) << Utf16ToUtf8(captured.reports.empty() ? Text() : captured.reports[0]);
}

}  // namespace
}  // namespace brannock::ui::testing
