#include "platform/file_reading.h"

namespace brannock::platform {

// Read into memory: registry files on Windows are read only by tests and
// the snapshot commands, the live registry being the program's own source.
std::shared_ptr<const WholeFile> WholeFile::Read(const std::filesystem::path& path, uint64_t maxBytes,
                                                 FileReadFailure* failure) {
  std::shared_ptr<WholeFile> file(new WholeFile());
  if (!ReadWholeFile(path, maxBytes, &file->copy_, failure)) return nullptr;
  file->data_ = file->copy_.data();
  file->size_ = file->copy_.size();
  return file;
}

WholeFile::~WholeFile() = default;

}  // namespace brannock::platform
