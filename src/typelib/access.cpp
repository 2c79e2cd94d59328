#include "typelib/access.h"

#include "platform/file_reading.h"
#include "platform/files.h"
#include "typelib/file_loader.h"

namespace brannock::typelib {

bool TypeLibLoader::FileExists(const Text& fileName) {
  if (fileName.empty()) return false;
  if (platform::FileExists(platform::HostPath(fileName))) return true;
  // "x.dll\2": resource 2 of an existing x.dll.
  const ResourceSuffix split = SplitResourceSuffix(fileName);
  return split.resource && !split.path.empty() && platform::FileExists(platform::HostPath(split.path));
}

bool TypeLibLoader::ReadLibraryFile(const Text& fileName, std::vector<uint8_t>* bytes) {
  return !fileName.empty() && platform::ReadWholeFile(platform::HostPath(fileName), kMaxTypeLibFileBytes, bytes);
}

}  // namespace brannock::typelib
