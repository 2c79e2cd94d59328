// brannock.exe: the Windows window program. Start-up order: COM for the
// user-interface thread, the locale, the title; the batch switches run
// before any window is shown and end the program with exit code 0;
// otherwise the main window opens and the message loop runs until it is
// closed.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "catalogue/batch_mode.h"
#include "platform/files.h"
#include "platform/win32/com_scope.h"
#include "platform/win32/wide_text.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"
#include "ui/logic/error_report_text.h"
#include "ui/logic/view_choice.h"
#include "ui/win32/about_dialog.h"
#include "ui/win32/main_window.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/setup_locale.h"
#include "ui/win32/tlb_viewer.h"
#include "ui/win32/viewer_hook.h"

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

// "--view 32|64" (also "--view=32") taken out of the parameters; an error
// text for a missing or other value.
struct ViewOption {
  std::optional<registry::RegistryView> view;
  Text error;
};

ViewOption TakeViewOption(std::vector<Text>& params) {
  ViewOption option;
  for (size_t i = 0; i < params.size();) {
    std::optional<Text> value;
    if (params[i] == u"--view") {
      value = i + 1 < params.size() ? params[i + 1] : Text();
      params.erase(params.begin() + static_cast<std::ptrdiff_t>(i),
                   params.begin() + static_cast<std::ptrdiff_t>(std::min(i + 2, params.size())));
    } else if (params[i].rfind(u"--view=", 0) == 0) {
      value = params[i].substr(7);
      params.erase(params.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
      continue;
    }
    option.view = registry::ViewFromText(*value);
    if (!option.view) option.error = u"--view needs 32 or 64, not '" + *value + u"'";
  }
  return option;
}

// A start-up error: on the console of a batch run, else in a box.
void ReportStartError(const Text& text, bool batch) {
  if (batch) {
    std::fwprintf(stderr, L"brannock: %ls\n", platform::ToWide(text).c_str());
  } else {
    ui::ShowErrorBox(text);
  }
}

int RunWindow(Catalogue& catalogue, registry::RegistrySource& source, registry::ViewedRegistry& viewed,
              std::optional<registry::RegistryView> viewOption, bool batchFailed, int showCommand) {
  // The window shows the view asked for, else the one it kept.
  std::optional<registry::RegistryView> storedView;
  ui::Guarded([&] { storedView = ui::ReadStoredView(*source.backend); });
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
    if (window.Handle() && TranslateAcceleratorW(window.Handle(), window.Accelerators(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  platform::ComScope com;  // COM for the user-interface thread
  ui::SetupLocale();
  ui::SetTypeLibViewer(ui::ShowTypeLibViewer);
  ui::SetAboutDialog(ui::ShowAboutDialog);

  std::vector<Text> params = CommandLineParameters();
  const ViewOption viewOption = TakeViewOption(params);
  const BatchSwitches switches = FindBatchSwitches(params);
  if (!viewOption.error.empty()) {
    ReportStartError(viewOption.error, switches.Any());
    return 2;
  }
  registry::RegistrySource source = registry::OpenRegistrySource(std::nullopt);
  if (viewOption.view) {
    try {
      registry::RequireView(*source.backend, *viewOption.view);
    } catch (...) {
      ReportStartError(ui::ErrorReportText(std::current_exception()).value_or(Text()), switches.Any());
      return 1;
    }
  }
  // The batch reads the view asked for (else the machine's own).
  registry::ViewedRegistry viewed(*source.backend,
                                  viewOption.view.value_or(registry::DefaultView(*source.backend)));
  Catalogue catalogue(viewed);

  // The batch switches: the list files next to the executable, then the
  // end, before any window exists.
  bool batchFailed = false;
  if (switches.Any()) {
    try {
      RunBatch(catalogue, switches, platform::ExecutableDirectory());
      return 0;
    } catch (...) {
      ui::ReportError(std::current_exception());
      batchFailed = true;
    }
  }

  int result = 0;
  ui::Guarded([&] { result = RunWindow(catalogue, source, viewed, viewOption.view, batchFailed, showCommand); });
  return result;
}
