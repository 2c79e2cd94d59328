// brannock: the window program. Start-up order: the registry source is
// chosen, the batch switches run (without any window, and without a
// display), then the application object, the locale, the title and the main
// window; the message loop runs until the main window is closed.
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "catalogue/batch_mode.h"
#include "common/version.h"
#include "platform/files.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"
#include "ui/logic/error_report_text.h"
#include "ui/logic/view_choice.h"
#include "ui/qt/error_report.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/settings_file.h"
#include "ui/qt/setup_locale.h"

namespace {

using namespace brannock;

struct Arguments {
  std::optional<std::filesystem::path> registry;
  std::optional<registry::RegistryView> view;  // --view 32|64
  std::optional<std::string> screenshot;  // --screenshot FILE: grab the window and end
  std::optional<std::string> select;      // --select TEXT: the class selected for the screenshot
  std::vector<Text> params;               // the rest: the batch switches' parameters
  bool help = false;
  bool version = false;
  std::string error;
};

Arguments ParseArguments(int argc, char** argv) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* name, std::optional<std::string>& into) {
      const std::string eq = std::string(name) + "=";
      if (arg == name) {
        if (i + 1 >= argc) {
          a.error = std::string(name) + " needs a value";
          return true;
        }
        into = argv[++i];
        return true;
      }
      if (arg.rfind(eq, 0) == 0) {
        into = arg.substr(eq.size());
        return true;
      }
      return false;
    };
    std::optional<std::string> registry;
    if (value("--registry", registry)) {
      if (registry) a.registry = std::filesystem::path(*registry);
      continue;
    }
    std::optional<std::string> view;
    if (value("--view", view)) {
      if (view) a.view = registry::ViewFromText(Utf8ToUtf16(*view));
      if (view && !a.view) a.error = "--view needs 32 or 64, not '" + *view + "'";
      continue;
    }
    if (value("--screenshot", a.screenshot) || value("--select", a.select)) continue;
    if (arg == "--help" || arg == "-h") {
      a.help = true;
      continue;
    }
    if (arg == "--version") {
      a.version = true;
      continue;
    }
    a.params.push_back(Utf8ToUtf16(arg));
  }
  return a;
}

bool HasDisplay() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

void PrintError(const std::exception_ptr& error) {
  if (auto text = ui::ErrorReportText(error)) std::fprintf(stderr, "brannock: %s\n", Utf16ToUtf8(*text).c_str());
}

// Expands "Object Classes", selects the class named (or the first one),
// lets the window paint and saves its picture.
int TakeScreenshot(ui::TfrmMain& window, const std::string& file, const std::optional<std::string>& select) {
  window.OCRoot->setExpanded(true);
  QTreeWidgetItem* chosen = window.OCRoot->childCount() > 0 ? window.OCRoot->child(0) : nullptr;
  if (select) {
    const Text wanted = Utf8ToUtf16(*select);
    for (int i = 0; i < window.OCRoot->childCount(); ++i) {
      QTreeWidgetItem* c = window.OCRoot->child(i);
      if (EqualsNoCase(ui::FromQt(c->text(0)), wanted)) {
        chosen = c;
        break;
      }
    }
  }
  if (chosen) {
    window.Tree->setCurrentItem(chosen);
    window.Tree->scrollToItem(chosen, QAbstractItemView::PositionAtCenter);
    if (window.RegTree->topLevelItemCount() > 0) window.RegTree->setCurrentItem(window.RegTree->topLevelItem(0));
  }
  QCoreApplication::processEvents();
  const QPixmap picture = window.grab();
  if (!picture.save(QString::fromStdString(file))) {
    std::fprintf(stderr, "brannock: cannot write %s\n", file.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

constexpr const char* kUsage =
    "Usage: brannock [--registry PATH] [-SA] [-SI] [-SO] [-ST]\n"
    "\n"
    "Browses the COM registrations of a Wine prefix, a .reg export or a hive, and\n"
    "renders type libraries as Object Pascal declaration units.\n"
    "\n"
    "  --registry PATH   registry to read: a Wine prefix folder, a .reg export or\n"
    "                    a hive file (default: $WINEPREFIX, ~/.wine, the demo\n"
    "                    registry)\n"
    "  -SA -SI -SO -ST   write AppIds.csv, Intfs.csv, ObjClasses.csv, TypeLibs.csv\n"
    "                    next to the program and end, without a window\n"
    "  --help            show this text\n"
    "  --version         show the program's version\n";

int main(int argc, char** argv) {
  Arguments args = ParseArguments(argc, argv);
  if (!args.error.empty()) {
    std::fprintf(stderr, "brannock: %s\n", args.error.c_str());
    return 2;
  }
  if (args.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (args.version) {
    std::puts("brannock " BRANNOCK_VERSION_TEXT);
    return 0;
  }

  registry::RegistrySource source;
  try {
    source = registry::OpenRegistrySource(args.registry);
    if (args.view) registry::RequireView(*source.backend, *args.view);
  } catch (...) {
    // Standard error for scripts; a box too when a window can show one,
    // since a program started from the desktop has no terminal.
    PrintError(std::current_exception());
    if (HasDisplay() && !args.screenshot) {
      ui::BrannockApplication app(argc, argv);
      QCoreApplication::setApplicationName(ui::ToQt(ui::kApplicationTitle));
      ui::ReportError(std::current_exception());
    }
    return 1;
  }
  // The batch reads the view asked for, the window also the one it kept.
  registry::ViewedRegistry viewed(*source.backend, args.view.value_or(registry::DefaultView(*source.backend)));
  Catalogue catalogue(viewed);

  // The batch switches: files written next to the executable, then the end,
  // before any window (or display) is needed.
  std::exception_ptr batchError;
  const BatchSwitches switches = FindBatchSwitches(args.params);
  if (switches.Any()) {
    try {
      RunBatch(catalogue, switches, platform::ExecutableDirectory());
      return 0;
    } catch (...) {
      batchError = std::current_exception();
    }
  }

  if (!HasDisplay()) {
    if (batchError) PrintError(batchError);
    std::fprintf(stderr,
                 "brannock: no display ($DISPLAY and $WAYLAND_DISPLAY are empty); the window cannot open.\n"
                 "Run it under xvfb-run, or use the switches -SA -SI -SO -ST to write the list files.\n");
    return 1;
  }

  ui::BrannockApplication app(argc, argv);
  ui::SetupLocale();
  QCoreApplication::setApplicationName(ui::ToQt(ui::kApplicationTitle));
  QApplication::setWindowIcon(ui::ProgramIcon());
  // Lets the desktop match the window to brannock.desktop and its icon.
  QGuiApplication::setDesktopFileName("brannock");
  if (batchError) ui::ReportError(batchError);

  ui::SettingsFile settings(ui::SettingsFile::DefaultPath());
  ui::Guarded([&] { settings.Load(); });
  std::optional<registry::RegistryView> storedView;
  ui::Guarded([&] { storedView = ui::ReadStoredView(settings.Store()); });
  viewed.SetView(ui::StartView(args.view, storedView, *source.backend));

  ui::TfrmMain::Options options;
  options.settings = &settings;
  options.batchFailed = batchError != nullptr;
  if (source.kind == registry::RegistrySource::Kind::WinePrefix) options.locator = ui::HostFileLocator(source.path);
  options.tools = ui::ToolHostFor(source.kind, source.path);
  options.sourceText = source.Description();
  options.sourceSkipped = source.skipped;
  options.view = &viewed;
  options.source = &source;
  ui::TfrmMain window(catalogue, std::move(options));
  window.show();

  if (args.screenshot) return TakeScreenshot(window, *args.screenshot, args.select);
  return app.exec();
}
