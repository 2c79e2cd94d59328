#include "typelib/access.h"

#include <filesystem>
#include <system_error>

namespace brannock::typelib {

bool TypeLibLoader::FileExists(const Text& fileName) {
  if (fileName.empty()) return false;
#ifdef _WIN32
  std::filesystem::path path(std::wstring(fileName.begin(), fileName.end()));
#else
  std::filesystem::path path(Utf16ToUtf8(fileName));
#endif
  std::error_code error;
  auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace brannock::typelib
