// One entry of a file dialog's list of file types: its name and the
// patterns it shows ("Registry Files (*.reg)", {"*.reg"}).
#pragma once

#include "common/text.h"

namespace brannock::ui {

struct FileFilter {
  Text name;          // "Registry Files (*.reg)"
  TextList patterns;  // "*.reg"
};

}  // namespace brannock::ui
