#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/error.h"
#include "registry/reg_file_writer.h"

namespace brannock::registry {

void SaveRegFile(const std::filesystem::path& file, const MemoryStore& store, RootKey root, TextView path) {
  const std::string bytes = RegFileBytes(store, root, path);
  const Text name = Utf8ToUtf16(file.string());
  auto fail = [&](int error) {
    throw FileError(u"Cannot write " + name + u": " + Utf8ToUtf16(std::strerror(error)));
  };
  std::filesystem::path temp = file;
  temp += ".tmp" + std::to_string(::getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) fail(errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeError = errno;
  const bool flushed = std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !flushed || !closed) {
    std::remove(temp.c_str());
    fail(!written ? writeError : flushed ? errno : flushError);
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    const int error = errno;
    std::remove(temp.c_str());
    fail(error);
  }
}

}  // namespace brannock::registry
