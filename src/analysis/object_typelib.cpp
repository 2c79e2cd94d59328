#include "analysis/object_typelib.h"

#include "common/text_rules.h"
#include "platform/messages.h"

namespace brannock::analysis {

namespace Code = typelib::Code;
using typelib::Failed;

HRESULT LoadObjectTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader,
                          std::shared_ptr<typelib::TypeLib>* lib) {
  // Longer names do not fit the platform's path buffer and are handed over
  // empty, which the loader refuses.
  constexpr size_t kMaxFileNameChars = 1022;
  HRESULT hr = Code::NotImpl;
  if (!IsBlank(record.TypeLib)) {
    Guid guid = TextToGuid(record.TypeLib);
    hr = loader.LoadRegTypeLib(guid, static_cast<uint16_t>(record.MajorVersion),
                               static_cast<uint16_t>(record.MinorVersion), kSystemDefaultLocale, lib);
  }
  if (Failed(hr) && loader.FileExists(record.Server)) {
    const Text& server = record.Server;
    hr = loader.LoadTypeLib(server.size() > kMaxFileNameChars ? Text() : server, lib);
  }
  return hr;
}

Text LoadFailureText(HRESULT hr, const typelib::TypeLibLoader& loader) {
  Text text = platform::ErrorCodeText(static_cast<uint32_t>(hr));
  const Text detail = loader.FailureDetail();
  if (!detail.empty()) text += u"\n" + detail;
  return text;
}

typelib::UnitHeader UnitHeaderOf(const TObjectData& record) {
  return {record.Server, record.TypeLib, record.MajorVersion, record.MinorVersion};
}

}  // namespace brannock::analysis
