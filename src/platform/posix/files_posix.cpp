#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "common/error.h"
#include "platform/files.h"

namespace brannock::platform {

namespace fs = std::filesystem;

fs::path HostPath(TextView text) { return fs::path(Utf16ToUtf8(text)); }

Text HostPathText(const fs::path& path) { return Utf8ToUtf16(path.string()); }

fs::path HostPathFromArgument(const std::string& argument) { return fs::path(argument); }

std::FILE* OpenFileForReading(const fs::path& path) { return std::fopen(path.c_str(), "rb"); }

void UseBinaryStandardOutput() {}

fs::path ExecutableDirectory() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && exe.has_parent_path()) return exe.parent_path();
  return fs::current_path(ec);
}

namespace {

[[noreturn]] void ThrowCannotCreate(const fs::path& target, int err) {
  std::error_code ec;
  fs::path full = fs::absolute(target, ec);
  if (ec) full = target;
  throw FileError(u"Cannot create file \"" + Utf8ToUtf16(full.string()) + u"\". " + Utf8ToUtf16(std::strerror(err)));
}

// Creates a new file next to the target with a random suffix; -1 with errno
// set on failure.
int CreateTemporaryNextTo(const fs::path& target, fs::path* tempPath) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
    *tempPath = folder / ("." + target.filename().string() + suffix);
    const int fd = ::open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

AtomicFile::AtomicFile(const fs::path& path) : path_(path), handle_(-1) {
  if (path.filename().empty()) ThrowCannotCreate(path, EISDIR);
  const int fd = CreateTemporaryNextTo(path, &temp_);
  if (fd < 0) ThrowCannotCreate(path, errno);
  handle_ = fd;
}

AtomicFile::~AtomicFile() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));
  ::unlink(temp_.c_str());
}

void AtomicFile::Fail(unsigned long err) {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
  ::unlink(temp_.c_str());
  ThrowCannotCreate(path_, static_cast<int>(err));
}

void AtomicFile::Write(std::string_view bytes) {
  if (handle_ < 0) Fail(EBADF);
  if (!WriteAll(static_cast<int>(handle_), bytes)) Fail(errno);
}

void AtomicFile::Commit() {
  if (handle_ < 0) Fail(EBADF);
  if (::fsync(static_cast<int>(handle_)) != 0) Fail(errno);
  const int closed = ::close(static_cast<int>(handle_));
  handle_ = -1;
  if (closed != 0 || ::rename(temp_.c_str(), path_.c_str()) != 0) Fail(errno);
  // Make the rename itself durable.
  const fs::path folder = path_.has_parent_path() ? path_.parent_path() : fs::path(".");
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace brannock::platform
