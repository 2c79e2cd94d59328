// brannock.exe: the Windows window program. Start-up order: COM for the
// user-interface thread, the locale, the title; then the opening all
// programs share (app/startup/opening.h: arguments, the live registry,
// view, catalogue, batch switches), where the batch switches run before
// any window is shown and end the program with exit code 0; otherwise the
// main window opens and the message loop runs until it is closed.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "app/startup/help_text.h"
#include "app/startup/opening.h"
#include "platform/files.h"
#include "platform/win32/com_scope.h"
#include "platform/win32/wide_text.h"
#include "ui/logic/error_report_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/view_choice.h"
#include "ui/win32/main_window.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/setup_locale.h"

namespace {

using namespace brannock;

// The parameters after the program name.
std::vector<Text> CommandLineParameters() {
  std::vector<Text> params;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return params;
  for (int i = 1; i < count; ++i) params.push_back(platform::FromWide(argv[i], wcslen(argv[i])));
  LocalFree(argv);
  return params;
}

// A text the user asked for (--help, --version): on the console or into
// the file that standard output goes to, else in a box, since a window
// program started from the desktop has none.
void ShowText(const Text& text) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) {
    std::fputs(Utf16ToUtf8(text).c_str(), stdout);
    std::fflush(stdout);
  } else {
    ui::ShowInfoBox(text, ui::kApplicationTitle);
  }
}

// A start-up error (a bad --view among them): on standard error of a batch
// run that has one, else in a box; a batch run started from the desktop or
// a shortcut has no standard error to show it on.
void ReportStartError(const Text& text, bool batch) {
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (batch && err != nullptr && err != INVALID_HANDLE_VALUE) {
    std::fwprintf(stderr, L"brannock: %ls\n", platform::ToWide(text).c_str());
  } else {
    ui::ShowErrorBox(text);
  }
}

int RunWindow(Catalogue& catalogue, registry::RegistrySource& source, registry::ViewedRegistry& viewed,
              std::optional<registry::RegistryView> viewOption, bool batchFailed, int showCommand) {
  // The window shows the view asked for, else the one it kept.
  std::optional<registry::RegistryView> storedView;
  ui::Guarded(ui::ReportError, [&] { storedView = ui::ReadStoredView(*source.backend); });
  viewed.SetView(ui::StartView(viewOption, storedView, *source.backend));
  ui::TfrmMain::Options options;
  options.sourceText = source.Description();
  options.settings = source.backend.get();
  options.batchFailed = batchFailed;
  options.view = &viewed;
  ui::TfrmMain window(catalogue, options);
  window.Show(showCommand);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.FilterMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  platform::ComScope com;  // COM for the user-interface thread
  ui::SetupLocale();

  std::vector<std::string> args;
  for (const Text& param : CommandLineParameters()) args.push_back(Utf16ToUtf8(param));
  startup::Opening opening(startup::kWin32Window, args);
  const startup::ParsedOptions& options = opening.Options();
  const bool batch = options.switches.Any();
  if (!opening.UsageError().empty()) {
    ReportStartError(Utf8ToUtf16(opening.UsageError()), batch);
    return startup::kExitUsage;
  }
  if (const std::optional<std::string> asked = startup::AskedText(options, startup::kWin32Window)) {
    ShowText(Utf8ToUtf16(*asked));
    return 0;
  }
  try {
    opening.OpenSource();
    opening.OpenView();
  } catch (...) {
    ReportStartError(ui::ErrorReportText(std::current_exception()).value_or(Text()), batch);
    return startup::kExitError;
  }

  // The batch switches: the list files next to the executable, then the
  // end, before any window exists.
  bool batchFailed = false;
  try {
    if (opening.RunBatch(platform::ExecutableDirectory())) return 0;
  } catch (...) {
    ui::ReportError(std::current_exception());
    batchFailed = true;
  }

  int result = 0;
  ui::Guarded(ui::ReportError, [&] {
    result = RunWindow(opening.Objects(), opening.Source(), opening.Viewed(), options.View(), batchFailed, showCommand);
  });
  return result;
}
