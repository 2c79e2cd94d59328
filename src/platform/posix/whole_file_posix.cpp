#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_reading.h"

namespace brannock::platform {

using Reason = FileReadFailure::Reason;

std::shared_ptr<const WholeFile> WholeFile::Read(const std::filesystem::path& path, uint64_t maxBytes,
                                                 FileReadFailure* failure) {
  FileReadFailure ignored;
  if (failure == nullptr) failure = &ignored;
  // Not blocking: a named pipe without a writer would wait at the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    *failure = {Reason::CannotOpen, errno};
    return nullptr;
  }
  struct stat st {};
  std::shared_ptr<WholeFile> file;
  if (::fstat(fd, &st) != 0) {
    *failure = {Reason::CannotOpen, errno};
  } else if (S_ISDIR(st.st_mode)) {
    *failure = {Reason::CannotOpen, EISDIR};
  } else if (!S_ISREG(st.st_mode)) {
    *failure = {Reason::NotAFile};
  } else if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    *failure = {Reason::TooLarge, 0, static_cast<uint64_t>(st.st_size)};
  } else {
    file.reset(new WholeFile());
    file->size_ = static_cast<size_t>(st.st_size);
    if (file->size_ != 0) {
      // Populated at once: the kernel maps the cached pages in bulk, where
      // touching them one by one would fault once a page.
      void* at = ::mmap(nullptr, file->size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
      if (at == MAP_FAILED) {
        *failure = {Reason::CannotOpen, errno};
        file.reset();
      } else {
        file->data_ = static_cast<const char*>(at);
        file->mapped_ = true;
      }
    }
  }
  ::close(fd);
  return file;
}

WholeFile::~WholeFile() {
  if (mapped_) ::munmap(const_cast<char*>(data_), size_);
}

}  // namespace brannock::platform
