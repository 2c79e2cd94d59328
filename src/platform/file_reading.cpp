#include "platform/file_reading.h"

#include <cerrno>

#include "platform/files.h"

namespace brannock::platform {

namespace fs = std::filesystem;

using Reason = FileReadFailure::Reason;

CappedFile::CappedFile(const fs::path& path, uint64_t maxBytes) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::is_directory(status)) {
    Fail({Reason::CannotOpen, EISDIR});
    return;
  }
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    Fail({Reason::NotAFile});
    return;
  }
  // The size by name first: it has 64 bits everywhere, where the C
  // library's file positions may have 32.
  const uintmax_t named = fs::file_size(path, ec);
  if (!ec && named > maxBytes) {
    Fail({Reason::TooLarge, 0, named});
    return;
  }
  errno = 0;
  file_.reset(OpenFileForReading(path));
  if (!file_) {
    Fail({Reason::CannotOpen, errno != 0 ? errno : ENOENT});
    return;
  }
  long end = -1;
  if (std::fseek(file_.get(), 0, SEEK_END) != 0 || (end = std::ftell(file_.get())) < 0 ||
      std::fseek(file_.get(), 0, SEEK_SET) != 0) {
    Fail({Reason::CannotOpen, errno});
    return;
  }
  if (static_cast<uint64_t>(end) > maxBytes) {
    Fail({Reason::TooLarge, 0, static_cast<uint64_t>(end)});
    return;
  }
  size_ = static_cast<size_t>(end);
}

bool CappedFile::Fail(FileReadFailure failure) {
  if (!failure_) failure_ = failure;
  file_.reset();
  return false;
}

bool CappedFile::Seek(size_t offset) {
  if (!file_) return false;
  if (offset > size_) return Fail({Reason::Changed});
  if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return Fail({Reason::CannotOpen, errno});
  return true;
}

bool CappedFile::Read(void* to, size_t count) {
  if (!file_) return false;
  if (count != 0 && std::fread(to, 1, count, file_.get()) != count) return Fail({Reason::Changed});
  return true;
}

namespace {

template <typename Bytes>
bool ReadWhole(const fs::path& path, uint64_t maxBytes, Bytes* bytes, FileReadFailure* failure) {
  bytes->clear();
  CappedFile file(path, maxBytes);
  if (!file.Failure()) {
    bytes->resize(file.Size());
    if (file.Read(bytes->data(), bytes->size())) return true;
    bytes->clear();
  }
  if (failure) *failure = *file.Failure();
  return false;
}

}  // namespace

bool ReadWholeFile(const fs::path& path, uint64_t maxBytes, std::string* bytes, FileReadFailure* failure) {
  return ReadWhole(path, maxBytes, bytes, failure);
}

bool ReadWholeFile(const fs::path& path, uint64_t maxBytes, std::vector<uint8_t>* bytes, FileReadFailure* failure) {
  return ReadWhole(path, maxBytes, bytes, failure);
}

std::shared_ptr<const WholeFile> WholeFile::FromBytes(std::string_view bytes) {
  std::shared_ptr<WholeFile> file(new WholeFile());
  file->copy_.assign(bytes);
  file->data_ = file->copy_.data();
  file->size_ = file->copy_.size();
  return file;
}

}  // namespace brannock::platform
