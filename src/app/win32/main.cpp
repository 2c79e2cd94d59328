// brannock.exe: the Windows window program. Start-up order: COM for the
// user-interface thread, the locale, the title; the batch switches run
// before any window is shown and end the program with exit code 0;
// otherwise the main window opens and the message loop runs until it is
// closed.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "catalogue/batch_mode.h"
#include "platform/files.h"
#include "platform/win32/wide_text.h"
#include "registry/registry_source.h"
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

// COM for the user-interface thread, released at the end.
class ComApartment {
 public:
  ComApartment() : result_(CoInitialize(nullptr)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

int RunWindow(Catalogue& catalogue, registry::RegistryBackend& settings, const Text& sourceText, bool batchFailed,
              int showCommand) {
  ui::TfrmMain::Options options;
  options.sourceText = sourceText;
  options.settings = &settings;
  options.batchFailed = batchFailed;
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
  ComApartment com;
  ui::SetupLocale();
  ui::SetTypeLibViewer(ui::ShowTypeLibViewer);
  ui::SetAboutDialog(ui::ShowAboutDialog);

  registry::RegistrySource source = registry::OpenRegistrySource(std::nullopt);
  Catalogue catalogue(*source.backend);

  // The batch switches: the list files next to the executable, then the
  // end, before any window exists.
  bool batchFailed = false;
  const BatchSwitches switches = FindBatchSwitches(CommandLineParameters());
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
  ui::Guarded([&] { result = RunWindow(catalogue, *source.backend, source.Description(), batchFailed, showCommand); });
  return result;
}
