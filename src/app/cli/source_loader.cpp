#include "app/cli/source_loader.h"

namespace brannock::cli {

TextList DriveTexts(const std::vector<std::string>& drives) {
  TextList texts;
  for (const std::string& d : drives) texts.push_back(Utf8ToUtf16(d));
  return texts;
}

std::unique_ptr<typelib::TypeLibLoader> SourceLoader(registry::RegistrySource* source,
                                                     const std::vector<std::string>& drives,
                                                     registry::RegistryView view) {
  const bool live = !source || source->kind == registry::RegistrySource::Kind::Live;
  const bool prefix = source && source->kind == registry::RegistrySource::Kind::WinePrefix;
  return typelib::CreateTypeLibLoader(live ? nullptr : source->backend.get(),
                                      prefix ? source->path : std::filesystem::path(), DriveTexts(drives), view);
}

}  // namespace brannock::cli
