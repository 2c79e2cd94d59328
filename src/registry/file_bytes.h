// Whole-file reading for the registry file readers; failures become
// RegistryParseError naming the file.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/text.h"

namespace brannock::registry {

// The file's bytes.
std::string ReadFileBytes(const std::filesystem::path& file, TextView source);

// At most the first `count` bytes of the file.
std::string ReadFileHead(const std::filesystem::path& file, TextView source, size_t count);

// A file read piece by piece from `offset` on, so that a large registry file
// never sits in memory whole. Failures raise RegistryParseError naming the file.
class FileChunks {
 public:
  static constexpr size_t kChunkBytes = 1 << 20;

  FileChunks(const std::filesystem::path& file, TextView source, size_t offset);
  ~FileChunks();
  FileChunks(const FileChunks&) = delete;
  FileChunks& operator=(const FileChunks&) = delete;

  // Bytes from `offset` to the end of the file.
  size_t Size() const { return size_; }

  // Append the next piece: bytes, or UTF-16LE code units (the byte count from
  // `offset` must then be even). False when nothing was left.
  bool Append(std::string& buffer);
  bool Append(std::u16string& buffer);

 private:
  size_t Read(char* to, size_t bytes);

  std::FILE* file_ = nullptr;
  Text source_;
  size_t size_ = 0;
  size_t done_ = 0;
};

// UTF-16 code units of little-endian (or big-endian) bytes.
Text DecodeUtf16(std::string_view bytes, bool bigEndian);

}  // namespace brannock::registry
