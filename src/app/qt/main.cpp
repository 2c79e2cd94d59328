// brannock: the window program. Start-up order: the opening all programs
// share (app/startup/opening.h: arguments, registry source, view,
// catalogue, the batch switches, which run without any window and without
// a display), then the application object, the locale, the title and the
// main window; the message loop runs until the main window is closed.
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/startup/help_text.h"
#include "app/startup/opening.h"
#include "platform/files.h"
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

int main(int argc, char** argv) {
  startup::Opening opening(startup::kQtWindow, std::vector<std::string>(argv + 1, argv + argc));
  const startup::ParsedOptions& args = opening.Options();
  if (!opening.UsageError().empty()) {
    std::fprintf(stderr, "brannock: %s\n", opening.UsageError().c_str());
    return startup::kExitUsage;
  }
  if (const std::optional<std::string> asked = startup::AskedText(args, startup::kQtWindow)) {
    std::fputs(asked->c_str(), stdout);
    return 0;
  }
  const std::optional<std::string> screenshot = args.Value("--screenshot");

  try {
    opening.OpenSource();
    opening.OpenView();
  } catch (...) {
    // Standard error for scripts; a box too when a window can show one,
    // since a program started from the desktop has no terminal.
    PrintError(std::current_exception());
    if (HasDisplay() && !screenshot) {
      ui::BrannockApplication app(argc, argv);
      QCoreApplication::setApplicationName(ui::ToQt(ui::kApplicationTitle));
      ui::ReportError(std::current_exception());
    }
    return startup::kExitError;
  }
  registry::RegistrySource& source = opening.Source();
  // The batch reads the view asked for, the window also the one it kept.
  registry::ViewedRegistry& viewed = opening.Viewed();
  Catalogue& catalogue = opening.Objects();

  // The batch switches: files written next to the executable, then the end,
  // before any window (or display) is needed.
  std::exception_ptr batchError;
  try {
    if (opening.RunBatch(platform::ExecutableDirectory())) return 0;
  } catch (...) {
    batchError = std::current_exception();
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
  ui::Guarded(ui::ReportError, [&] { settings.Load(); });
  std::optional<registry::RegistryView> storedView;
  ui::Guarded(ui::ReportError, [&] { storedView = ui::ReadStoredView(settings.Store()); });
  viewed.SetView(ui::StartView(args.View(), storedView, *source.backend));

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

  if (screenshot) return TakeScreenshot(window, *screenshot, args.Value("--select"));
  return app.exec();
}
