#include "ui/logic/typelib_view.h"

#include <exception>
#include <memory>

#include "analysis/object_typelib.h"
#include "typelib/unit_text.h"

namespace brannock::ui {

std::optional<Text> LoadTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader,
                                    const std::function<TypeLibViewWindow&()>& open) {
  std::shared_ptr<typelib::TypeLib> lib;
  const typelib::HRESULT hr = analysis::LoadObjectTypeLib(record, loader, &lib);
  if (typelib::Failed(hr) || !lib)
    return analysis::LoadFailureText(typelib::Failed(hr) ? hr : typelib::Code::Fail, loader);
  TypeLibViewWindow& window = open();
  try {
    window.FillTree(*lib);
  } catch (const std::exception&) {
    // The tree keeps what was added; the text still shows in full.
  }
  TextList lines;
  typelib::UnitHeader header = analysis::UnitHeaderOf(record);
  Text unitName = typelib::TypeLibToStrings(header, *lib, &lines);
  window.ShowUnit(std::move(lines), std::move(unitName));
  window.KeepLibrary(std::move(lib), std::move(header));
  return std::nullopt;
}

bool OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader, BusyDisplay& cursor,
                     UserMessages& messages, const std::function<TypeLibViewWindow&()>& open) {
  BusyScope busy(cursor, BusyScope::Cursor::Wait, {});
  const std::optional<Text> failure = LoadTypeLibView(record, loader, open);
  if (!failure) return true;
  busy.End();
  messages.ShowBox(BoxKind::Error, *failure);
  return false;
}

}  // namespace brannock::ui
