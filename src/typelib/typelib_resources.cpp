#include "typelib/typelib_resources.h"

#include <string>

#include "typelib/pe_resources.h"

namespace brannock::typelib {

Text ResourceFileName(const Text& fileName, uint16_t number) {
  if (number == 1) return fileName;
  const std::string digits = std::to_string(number);
  return fileName + u"\\" + Text(digits.begin(), digits.end());
}

namespace {

TypeLibResource Describe(TypeLibLoader& loader, const Text& fileName, uint16_t number) {
  TypeLibResource r;
  r.number = number;
  std::shared_ptr<TypeLib> lib;
  r.hr = loader.LoadTypeLib(ResourceFileName(fileName, number), &lib);
  if (Succeeded(r.hr) && !lib) r.hr = Code::Pointer;
  if (Failed(r.hr)) return r;
  Documentation doc;
  if (Succeeded(lib->GetDocumentation(-1, &doc))) r.name = CleanText(doc.name);
  LibAttr attr;
  if (Succeeded(lib->GetLibAttr(&attr))) {
    r.guid = attr.guid;
    r.majorVersion = attr.wMajorVerNum;
    r.minorVersion = attr.wMinorVerNum;
  }
  return r;
}

}  // namespace

HRESULT ListTypeLibResources(TypeLibLoader& loader, const Text& fileName, std::vector<TypeLibResource>* out) {
  out->clear();
  std::vector<uint8_t> bytes;
  if (!loader.ReadLibraryFile(fileName, &bytes)) return Code::TypeCantLoadLibrary;
  std::vector<ResourceId> names;
  if (IsPeFile(bytes) && ListPeResources(bytes, Text(u"TYPELIB"), &names) == PeError::None) {
    for (const ResourceId& name : names)
      if (const auto* number = std::get_if<uint16_t>(&name)) out->push_back(Describe(loader, fileName, *number));
  }
  if (out->empty()) out->push_back(Describe(loader, fileName, 1));
  return S_OK_;
}

}  // namespace brannock::typelib
