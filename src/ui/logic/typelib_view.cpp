#include "ui/logic/typelib_view.h"

#include <exception>
#include <memory>

#include "typelib/object_typelib.h"
#include "typelib/unit_text.h"

namespace brannock::ui {

std::optional<Text> LoadTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader,
                                    const std::function<TypeLibViewWindow&()>& open) {
  std::shared_ptr<typelib::TypeLib> lib;
  const typelib::HRESULT hr = typelib::LoadObjectTypeLib(record, loader, &lib);
  if (typelib::Failed(hr) || !lib)
    return typelib::LoadFailureText(typelib::Failed(hr) ? hr : typelib::Code::Fail, loader);
  TypeLibViewWindow& window = open();
  try {
    window.FillTree(*lib);
  } catch (const std::exception&) {
    // The tree keeps what was added; the text still shows in full.
  }
  TextList lines;
  Text unitName = typelib::TypeLibToStrings(record, *lib, &lines);
  window.ShowUnit(std::move(lines), std::move(unitName));
  return std::nullopt;
}

}  // namespace brannock::ui
