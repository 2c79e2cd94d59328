// The commands of the Win32 main window under Wine: Save against the
// command-line program's list files, Copy to Clipboard, the real regsvr32
// on the fixture server, Create instance through COM, and the type library
// views. Run by scripts/wine-window-stage.sh, which sets
//   BRANNOCK_CLI_LISTS       brannock-cli.exe's four list files of the prefix
//   BRANNOCK_REGSVR_FIXTURE  the fixture server's Windows path
#include "registry/registry_reader.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/main_window_text.h"
#include "ui/win32/text_view.h"
#include "ui/win32/tlb_viewer.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

namespace fs = std::filesystem;

fs::path TempFolder(const wchar_t* name) {
  wchar_t buffer[MAX_PATH];
  GetTempPathW(MAX_PATH, buffer);
  const fs::path folder = fs::path(buffer) / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

TEST(Win32MainWindow, SaveWritesTheListFilesOfTheCommandLineProgram) {
  const std::string cliLists = Env("BRANNOCK_CLI_LISTS");
  if (cliLists.empty()) GTEST_SKIP() << "run by scripts/wine-window-stage.sh";
  Captured captured;
  LiveWindow w;
  const fs::path out = TempFolder(L"brannock-save");
  std::vector<Text> suggested;
  Text chosen;
  TfrmMain::SetSaveFileChooser([&](HWND, TextView s) {
    suggested.push_back(Text(s));
    return chosen;
  });
  // Tag order of the submenu, and the batch mode's file of each kind.
  const char* batchNames[kSaveCommandCount] = {"AppIds.csv", "Intfs.csv", "ObjClasses.csv", "TypeLibs.csv"};
  for (int tag = 0; tag < kSaveCommandCount; ++tag) {
    const fs::path file = out / ("saved" + std::to_string(tag) + ".csv");
    chosen = platform::FromWide(file.wstring());
    Command(*w.frm, static_cast<WORD>(cmdSaveFirst + tag));
    const std::string want = ReadFileText(fs::path(cliLists) / batchNames[tag]);
    ASSERT_FALSE(want.empty()) << batchNames[tag];
    EXPECT_EQ(ReadFileText(file), want) << batchNames[tag];
  }
  EXPECT_EQ(suggested, (std::vector<Text>{u"AppIds.csv", u"Intfs.csv", u"ObjClasses.csv", u"TLBs.csv"}));
  // A cancelled dialog writes nothing.
  chosen.clear();
  const size_t before = std::distance(fs::directory_iterator(out), fs::directory_iterator());
  Command(*w.frm, cmdSaveFirst);
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(out), fs::directory_iterator())), before);
  TfrmMain::SetSaveFileChooser(nullptr);
  fs::remove_all(out);
  EXPECT_TRUE(captured.reports.empty());
}

Text ClipboardText(HWND owner) {
  if (!OpenClipboard(owner)) return {};
  Text text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    const auto* p = static_cast<const wchar_t*>(GlobalLock(data));
    text = platform::FromWide(p, wcslen(p));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST(Win32MainWindow, CopyPutsTheSummaryOnTheClipboard) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  HTREEITEM item = w.Find(TObjectType::otInterface, u"{B4A22030-0000-4000-8000-000000000030}");
  ASSERT_TRUE(item);
  w.Select(item);
  Click(frm.bCopy);
  const Text text = ClipboardText(frm.Handle());
  const Text head = u"Name: IBrannockTest\r\nGUID: {B4A22030-0000-4000-8000-000000000030}\r\n" + Text(80, u'-') +
                    u"\r\nInterface\r\n   {B4A22030-0000-4000-8000-000000000030} = IBrannockTest\r\n";
  EXPECT_EQ(Utf16ToUtf8(text.substr(0, head.size())), Utf16ToUtf8(head));
  EXPECT_NE(text.find(u"\r\nTypeLib\r\n   {B4A22010-0000-4000-8000-000000000010} = \r\n"), Text::npos)
      << Utf16ToUtf8(text);
  EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
  EXPECT_TRUE(captured.reports.empty());
}

bool ClassKeyExists(const wchar_t* path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// regsvr32 runs on after the command's wait when Wine is slow to start it.
bool WaitForKey(const wchar_t* path, bool present) {
  for (int i = 0; i < 300; ++i) {
    if (ClassKeyExists(path) == present) return true;
    Sleep(100);
  }
  return false;
}

TEST(Win32MainWindow, RegisterAndUnregisterRunRegsvr32OnTheServer) {
  const std::string server = Env("BRANNOCK_REGSVR_FIXTURE");
  if (server.empty()) GTEST_SKIP() << "run by scripts/wine-window-stage.sh";
  constexpr wchar_t kServed[] = L"CLSID\\{B4A22F01-0000-4000-8000-0000000000F1}";
  // A class of the user's registrations whose server is the fixture.
  constexpr wchar_t kHolder[] = L"CLSID\\{B4A22F02-0000-4000-8000-0000000000F2}";
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kHolder) + L"\\InprocServer32").c_str(), 0, nullptr, 0,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::wstring path = platform::ToWide(Utf8ToUtf16(server));
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);

  Captured captured;
  // The real regsvr32, each start noted.
  std::vector<Text> started;
  LiveWindow w(false, [&](const ToolCommand& command) {
    started.push_back(command.parameters);
    return RunTool(command);
  });
  TfrmMain& frm = *w.frm;
  HTREEITEM item = w.Find(TObjectType::otCLSID, u"{B4A22F02-0000-4000-8000-0000000000F2}");
  ASSERT_TRUE(item);
  // With a root focused, nothing runs.
  w.Select(frm.OCRoot);
  Command(frm, cmdReg);
  EXPECT_TRUE(started.empty());

  w.Select(item);
  EXPECT_TRUE(MenuEnabled(frm.Menu, cmdReg));
  ASSERT_FALSE(ClassKeyExists(kServed));
  Click(frm.bReg);
  EXPECT_TRUE(WaitForKey(kServed, true)) << "regsvr32 \"server\" registers the class";
  Command(frm, cmdUnreg);
  EXPECT_TRUE(WaitForKey(kServed, false)) << "regsvr32 /u \"server\" removes it";
  Command(frm, cmdReg);
  EXPECT_TRUE(WaitForKey(kServed, true)) << "the menu item registers too";
  Click(frm.bUnreg);
  EXPECT_TRUE(WaitForKey(kServed, false));
  const Text quoted = u"\"" + Utf8ToUtf16(server) + u"\"";
  EXPECT_EQ(started, (std::vector<Text>{quoted, u"/u " + quoted, quoted, u"/u " + quoted}));
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kHolder);
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_TRUE(captured.reports.empty());
}

TEST(Win32MainWindow, CreateInstanceObtainsWinesDictionary) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  HTREEITEM dictionary = w.Find(TObjectType::otCLSID, u"{EE09B103-97E0-11CF-978F-00A02463E06F}");
  ASSERT_TRUE(dictionary);
  w.Select(dictionary);
  ASSERT_TRUE(MenuEnabled(frm.Menu, cmdCreateInst));
  Command(frm, cmdCreateInst);
  EXPECT_TRUE(captured.boxes.empty()) << "the dictionary gives its type information";
  EXPECT_EQ(frm.StatusText(), kReadyText);

  // A ProgID that resolves to nothing shows nothing but the status text.
  HKEY key;
  constexpr wchar_t kStale[] = L"CLSID\\{B4A22F03-0000-4000-8000-0000000000F3}";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kStale) + L"\\ProgID").c_str(), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t progId[] = L"Brannock.No.Such.Class";
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(progId), sizeof progId);
  RegCloseKey(key);
  Command(frm, cmdRefresh);
  HTREEITEM stale = w.Find(TObjectType::otCLSID, u"{B4A22F03-0000-4000-8000-0000000000F3}");
  ASSERT_TRUE(stale);
  w.Select(stale);
  Command(frm, cmdCreateInst);
  EXPECT_TRUE(captured.boxes.empty());
  EXPECT_EQ(frm.StatusText(), kReadyText);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kStale);
  EXPECT_TRUE(captured.reports.empty());
}

// The viewer, read and closed from a timer while its modal loop runs.
Text g_unitText;
bool g_statusWorking = false;
TfrmMain* g_frm = nullptr;
void CALLBACK CloseUnitWindow(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = FindWindowW(kViewerWindowClass, nullptr);
  if (!window) return;
  KillTimer(nullptr, timer);
  g_unitText = WindowText(FindWindowExW(window, nullptr, kTextViewClass, nullptr));
  g_statusWorking = g_frm->StatusText() == kWorkingText;
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(Win32MainWindow, ViewTypeInformationShowsTheRenderedUnit) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  g_frm = &frm;
  HTREEITEM dictionary = w.Find(TObjectType::otCLSID, u"{EE09B103-97E0-11CF-978F-00A02463E06F}");
  ASSERT_TRUE(dictionary);
  w.Select(dictionary);
  ASSERT_TRUE(MenuEnabled(frm.Menu, cmdView));
  g_unitText.clear();
  SetTimer(nullptr, 0, 50, CloseUnitWindow);
  Command(frm, cmdView);
  EXPECT_NE(g_unitText.find(u"unit Scripting"), Text::npos) << Utf16ToUtf8(g_unitText.substr(0, 400));
  EXPECT_NE(g_unitText.find(u"IDictionary = interface"), Text::npos);
  EXPECT_TRUE(g_statusWorking) << "Working... while the modal window is open";
  EXPECT_EQ(frm.StatusText(), kReadyText);
  EXPECT_TRUE(IsWindowEnabled(frm.Handle()));

  // An application ID names no library: the load error, and no window.
  HTREEITEM app = w.Find(TObjectType::otAppID, u"{B4A22020-0000-4000-8000-000000000020}");
  ASSERT_TRUE(app);
  w.Select(app);
  NMHDR dbl{frm.Tree, 1, static_cast<UINT>(NM_DBLCLK)};
  SendMessageW(frm.Handle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&dbl));
  ASSERT_EQ(captured.boxes.size(), 1u);
  EXPECT_EQ(captured.boxes[0].kind, BoxKind::Error);
  EXPECT_NE(captured.boxes[0].text.find(u"(Error code: 0x80004001)"), Text::npos) << Utf16ToUtf8(captured.boxes[0].text);
  EXPECT_EQ(frm.StatusText(), kReadyText);

  // View TypeLib...: the chosen file; a cancelled dialog opens nothing.
  TfrmMain::SetTypeLibFileChooser([](HWND, TextView) { return Text(); });
  Command(frm, cmdViewTypeLib);
  EXPECT_EQ(FindWindowW(kViewerWindowClass, nullptr), nullptr);
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const Text stdole = platform::FromWide(system, wcslen(system)) + u"\\stdole2.tlb";
  TfrmMain::SetTypeLibFileChooser([&](HWND, TextView) { return stdole; });
  g_unitText.clear();
  SetTimer(nullptr, 0, 50, CloseUnitWindow);
  Command(frm, cmdViewTypeLib);
  EXPECT_NE(g_unitText.find(u"unit stdole"), Text::npos) << Utf16ToUtf8(g_unitText.substr(0, 400));
  TfrmMain::SetTypeLibFileChooser(nullptr);
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
