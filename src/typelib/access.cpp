#include "typelib/access.h"

#include "platform/files.h"
#include "typelib/file_loader.h"

namespace brannock::typelib {

bool TypeLibLoader::FileExists(const Text& fileName) {
  if (fileName.empty()) return false;
#ifdef _WIN32
  return platform::FileExists(std::filesystem::path(std::wstring(fileName.begin(), fileName.end())));
#else
  return platform::FileExists(std::filesystem::path(Utf16ToUtf8(fileName)));
#endif
}

bool TypeLibLoader::ReadLibraryFile(const Text& fileName, std::vector<uint8_t>* bytes) {
  return !fileName.empty() && ReadHostFile(HostPath(fileName), bytes);
}

}  // namespace brannock::typelib
