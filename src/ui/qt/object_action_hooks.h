// What the main window's object commands reach outside the program, made
// replaceable: the start of the registration tool, the test instance, and
// the open dialog of "View TypeLib...". Tests put doubles here; an empty
// function brings the default back.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "ui/logic/object_actions.h"

class QWidget;

namespace brannock::ui {

void SetToolRunner(ToolRunner runner);
void SetInstanceProbe(InstanceProbe probe);

// Returns the chosen type library file, or an empty text when the user
// cancels. The default shows the open dialog.
using TypeLibFileChooser = std::function<QString(QWidget* owner)>;
void SetTypeLibFileChooser(TypeLibFileChooser chooser);

// Returns the index of the library chosen among the items of a file with
// several type libraries, or -1 when the user cancels. The default shows a
// small list.
using TypeLibResourceChooser = std::function<int(QWidget* owner, const QStringList& items)>;
void SetTypeLibResourceChooser(TypeLibResourceChooser chooser);

}  // namespace brannock::ui
