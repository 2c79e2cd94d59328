// Reading files with a cap on their size, so that no damaged or hostile
// file takes all of the machine's memory: a whole file at once, or a file
// opened with its size known and read in pieces. Only regular files are
// read (a named pipe would block, a device has no size).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brannock::platform {

// Why a file was not read.
struct FileReadFailure {
  enum class Reason : uint8_t {
    CannotOpen,  // `error` says why (EISDIR for a folder)
    NotAFile,    // neither a regular file nor a folder
    TooLarge,    // larger than the cap; `size` is the file's size
    Changed,     // it held fewer bytes when read than when opened
  };
  Reason reason = Reason::CannotOpen;
  int error = 0;
  uint64_t size = 0;
};

// A file opened for reading, holding at most a given number of bytes.
class CappedFile {
 public:
  CappedFile(const std::filesystem::path& path, uint64_t maxBytes);

  // Empty while the file is open and every read so far fitted.
  const std::optional<FileReadFailure>& Failure() const { return failure_; }
  // The file's size when it was opened.
  size_t Size() const { return size_; }
  // Moves to `offset`, at most the size.
  bool Seek(size_t offset);
  // The next `count` bytes into `to`; false when the file ends before them.
  bool Read(void* to, size_t count);

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  bool Fail(FileReadFailure failure);

  std::unique_ptr<std::FILE, Closer> file_;
  size_t size_ = 0;
  std::optional<FileReadFailure> failure_;
};

// The bytes of a whole regular file of at most a given size, read once and
// kept unchanged for as long as anyone holds them: mapped into memory where
// the platform can (POSIX), so that a large file is neither copied nor
// read before its pages are needed; read into memory elsewhere. A mapped
// file is the file: one that another program cuts short in place while it
// is held faults when its lost pages are touched (programs that rewrite
// registry files write a new file and rename it over the old one, which
// leaves the mapping whole).
class WholeFile {
 public:
  // Null when the file cannot be read, with `failure` saying why.
  static std::shared_ptr<const WholeFile> Read(const std::filesystem::path& path, uint64_t maxBytes,
                                               FileReadFailure* failure);
  // Bytes held in memory already (a copy is made).
  static std::shared_ptr<const WholeFile> FromBytes(std::string_view bytes);

  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;
  ~WholeFile();

  std::string_view Bytes() const { return {data_, size_}; }

 private:
  WholeFile() = default;

  const char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
  std::string copy_;
};

// The whole of a regular file of at most `maxBytes` bytes; false otherwise,
// with `failure` (when given) saying why.
bool ReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes, std::string* bytes,
                   FileReadFailure* failure = nullptr);
bool ReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes, std::vector<uint8_t>* bytes,
                   FileReadFailure* failure = nullptr);

}  // namespace brannock::platform
