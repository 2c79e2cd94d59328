// Opening the viewer of an object's type library, the same in both front
// ends: the library is loaded first, and only when it loads does a window
// open; the window fills its tree of types (a failure part way keeps what
// was added) and then shows the library's unit in full.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "typelib/access.h"
#include "typelib/unit_text.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/command_flow.h"

namespace brannock::ui {

// The viewer window as the opening sees it.
class TypeLibViewWindow {
 public:
  virtual ~TypeLibViewWindow() = default;
  // Fills the tree of types from `lib`; may stop with an exception part way.
  virtual void FillTree(typelib::TypeLib& lib) = 0;
  // Shows the unit's lines; `unitName` names the unit (the print title).
  virtual void ShowUnit(TextList lines, Text unitName) = 0;
  // The library and its unit's head, kept for showing it in another
  // notation (IDL) later; a window that shows the unit only ignores them.
  virtual void KeepLibrary(std::shared_ptr<typelib::TypeLib> /*lib*/, typelib::UnitHeader /*header*/) {}
  // Shows the window and returns when the user has closed it.
  virtual void ShowModal() = 0;
};

// Loads the library of `record` through `loader`. When it loads, `open`
// makes the window, which is filled and given the unit; nothing comes back.
// When it does not, no window is made and the text of the error to show
// comes back: the failure code's text and what the loader adds to it.
std::optional<Text> LoadTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader,
                                    const std::function<TypeLibViewWindow&()>& open);

// The viewer's entry as the user meets it: the wait cursor (of `cursor`)
// while the library loads and the window is filled; on a load failure the
// cursor comes back first, then the error box shows the failure and no
// window opens (false). An error of the renderer is raised, with the
// cursor back.
bool OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader, BusyDisplay& cursor,
                     UserMessages& messages, const std::function<TypeLibViewWindow&()>& open);

// The same for a window class of a front end: `make` creates the window;
// it comes back filled and not shown, or null after a load failure.
template <class Window, class Make>
std::unique_ptr<Window> OpenTypeLibWindow(const TObjectData& record, typelib::TypeLibLoader& loader,
                                          BusyDisplay& cursor, UserMessages& messages, Make make) {
  std::unique_ptr<Window> window;
  const bool opened = OpenTypeLibView(record, loader, cursor, messages, [&]() -> TypeLibViewWindow& {
    window = make();
    return *window;
  });
  return opened ? std::move(window) : nullptr;
}

// Opens the window and shows it modally; returns when the user has closed
// it. An error of the renderer goes to the general error report.
template <class Window, class Make>
void ViewTypeLibWindow(const TObjectData& record, typelib::TypeLibLoader& loader, BusyDisplay& cursor,
                       UserMessages& messages, Make make) {
  Guarded(messages, [&] {
    if (const std::unique_ptr<Window> window = OpenTypeLibWindow<Window>(record, loader, cursor, messages, make))
      window->ShowModal();
  });
}

}  // namespace brannock::ui
