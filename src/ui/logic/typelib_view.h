// Opening the viewer of an object's type library, the same in both front
// ends: the library is loaded first, and only when it loads does a window
// open; the window fills its tree of types (a failure part way keeps what
// was added) and then shows the library's unit in full.
#pragma once

#include <functional>
#include <optional>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "typelib/access.h"

namespace brannock::ui {

// The viewer window as the opening sees it.
class TypeLibViewWindow {
 public:
  virtual ~TypeLibViewWindow() = default;
  // Fills the tree of types from `lib`; may stop with an exception part way.
  virtual void FillTree(typelib::TypeLib& lib) = 0;
  // Shows the unit's lines; `unitName` names the unit (the print title).
  virtual void ShowUnit(TextList lines, Text unitName) = 0;
};

// Loads the library of `record` through `loader`. When it loads, `open`
// makes the window, which is filled and given the unit; nothing comes back.
// When it does not, no window is made and the text of the error to show
// comes back: the failure code's text and what the loader adds to it.
std::optional<Text> LoadTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader,
                                    const std::function<TypeLibViewWindow&()>& open);

}  // namespace brannock::ui
