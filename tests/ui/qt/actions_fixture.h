// The main window on a fixture registry for the object command tests, with
// the message boxes, the error report, the tool runner, the instance probe
// and the file chooser captured.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <vector>

#include "ui/qt/error_report.h"
#include "ui/qt/main_window.h"
#include "ui/logic/object_commands.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/tlb_viewer.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/fixture_registry.h"

namespace brannock::ui::testing {

struct Box {
  BoxKind kind;
  Text text;
};

// Message boxes and error reports are recorded instead of shown; the
// command hooks go back to their defaults at the end.
struct Captured {
  std::vector<Box> boxes;
  std::vector<Text> reports;
  Captured() {
    SetMessageBoxHook([this](BoxKind k, const Text& text, const Text&) { boxes.push_back({k, text}); });
    SetErrorReportHook([this](const Text& text) { reports.push_back(text); });
  }
  ~Captured() {
    SetMessageBoxHook(nullptr);
    SetErrorReportHook(nullptr);
    SetToolRunner(nullptr);
    SetInstanceProbe(nullptr);
    TfrmMain::SetTypeLibFileChooser(nullptr);
    TfrmMain::SetTypeLibResourceChooser(nullptr);
  }
};

inline QTreeWidgetItem* ChildNamed(QTreeWidgetItem* root, const QString& text) {
  root->setExpanded(true);
  for (int i = 0; i < root->childCount(); ++i)
    if (root->child(i)->text(0) == text) return root->child(i);
  return nullptr;
}

// What a modal window looked like while it was open; it is closed at once.
struct ModalSeen {
  bool opened = false;
  QString title;
  QString mainStatus;  // the main window's status text meanwhile
  int typeTreeItems = 0;
};

// Arms a timer that looks at the modal window the next command opens and
// closes it.
inline void WatchModal(ModalSeen& seen, TfrmMain* window) {
  QTimer::singleShot(0, [&seen, window] {
    auto* viewer = dynamic_cast<TfrmTLBView*>(QApplication::activeModalWidget());
    if (!viewer) return;
    seen.opened = true;
    seen.title = viewer->windowTitle();
    seen.mainStatus = window ? window->sb->text() : QString();
    seen.typeTreeItems = viewer->findChildren<QTreeWidget*>().value(0)
                             ? viewer->findChildren<QTreeWidget*>().value(0)->topLevelItemCount()
                             : 0;
    viewer->mmExit->trigger();
  });
}

}  // namespace brannock::ui::testing
