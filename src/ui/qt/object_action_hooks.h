// What the main window's object commands reach outside the program, made
// replaceable: the start of the registration tool, the test instance, and
// the open dialog of "View TypeLib...". Tests put doubles here; an empty
// function brings the default back.
#pragma once

#include <QString>
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

}  // namespace brannock::ui
