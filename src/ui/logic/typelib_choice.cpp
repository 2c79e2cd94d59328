#include "ui/logic/typelib_choice.h"

#include <string>

#include "platform/messages.h"

namespace brannock::ui {

namespace {

Text Number(unsigned n) {
  const std::string digits = std::to_string(n);
  return Text(digits.begin(), digits.end());
}

}  // namespace

TextList TypeLibChoiceItems(const std::vector<typelib::TypeLibResource>& resources) {
  TextList items;
  for (const auto& r : resources) {
    Text item = Number(r.number) + u": ";
    if (typelib::Failed(r.hr))
      item += platform::ErrorCodeText(static_cast<uint32_t>(r.hr));
    else
      item += r.name + u" " + GuidToText(r.guid) + u" " + Number(r.majorVersion) + u"." + Number(r.minorVersion);
    items.push_back(std::move(item));
  }
  return items;
}

Text TypeLibChoiceFile(const Text& fileName, const std::vector<typelib::TypeLibResource>& resources, size_t index) {
  if (index >= resources.size()) return fileName;
  return typelib::ResourceFileName(fileName, resources[index].number);
}

}  // namespace brannock::ui
