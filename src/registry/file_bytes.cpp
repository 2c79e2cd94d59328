#include "registry/file_bytes.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/files.h"
#include "registry/input_limits.h"
#include "registry/registry_parse_error.h"

namespace brannock::registry {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void FailRead(TextView source, int error) {
  throw RegistryParseError::At(source, 0, std::string("cannot read the file: ") + std::strerror(error));
}

FilePtr OpenForReading(const std::filesystem::path& file, TextView source, size_t& size) {
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) FailRead(source, EISDIR);
  FilePtr f(platform::OpenFileForReading(file));
  if (!f) FailRead(source, errno);
  if (std::fseek(f.get(), 0, SEEK_END) != 0) FailRead(source, errno);
  const long end = std::ftell(f.get());
  if (end < 0) FailRead(source, errno);
  if (std::fseek(f.get(), 0, SEEK_SET) != 0) FailRead(source, errno);
  if (const std::string tooBig = RegistryFileSizeError(static_cast<uint64_t>(end)); !tooBig.empty())
    throw RegistryParseError::At(source, 0, tooBig);
  size = static_cast<size_t>(end);
  return f;
}

void ReadExactly(std::FILE* f, void* buffer, size_t size, TextView source) {
  if (size != 0 && std::fread(buffer, 1, size, f) != size)
    throw RegistryParseError::At(source, 0, "cannot read the file: it changed while it was read");
}

}  // namespace

std::string ReadFileBytes(const std::filesystem::path& file, TextView source) {
  size_t size = 0;
  FilePtr f = OpenForReading(file, source, size);
  std::string bytes(size, '\0');
  ReadExactly(f.get(), bytes.data(), size, source);
  return bytes;
}

std::string ReadFileHead(const std::filesystem::path& file, TextView source, size_t count) {
  size_t size = 0;
  FilePtr f = OpenForReading(file, source, size);
  std::string bytes(size < count ? size : count, '\0');
  ReadExactly(f.get(), bytes.data(), bytes.size(), source);
  return bytes;
}

FileChunks::FileChunks(const std::filesystem::path& file, TextView source, size_t offset) : source_(source) {
  size_t size = 0;
  FilePtr f = OpenForReading(file, source, size);
  if (size < offset) throw RegistryParseError::At(source, 0, "cannot read the file: it changed while it was read");
  if (std::fseek(f.get(), static_cast<long>(offset), SEEK_SET) != 0) FailRead(source, errno);
  size_ = size - offset;
  file_ = f.release();
}

FileChunks::~FileChunks() {
  if (file_ != nullptr) std::fclose(file_);
}

size_t FileChunks::Read(char* to, size_t bytes) {
  if (bytes == 0) return 0;
  if (std::fread(to, 1, bytes, file_) != bytes)
    throw RegistryParseError::At(source_, 0, "cannot read the file: it changed while it was read");
  done_ += bytes;
  return bytes;
}

bool FileChunks::Append(std::string& buffer) {
  const size_t n = std::min(kChunkBytes, size_ - done_);
  if (n == 0) return false;
  const size_t old = buffer.size();
  buffer.resize(old + n);
  Read(buffer.data() + old, n);
  return true;
}

bool FileChunks::Append(std::u16string& buffer) {
  if ((size_ - done_) % 2 != 0)
    throw RegistryParseError::At(source_, 0, "truncated UTF-16 text (odd number of bytes)");
  const size_t n = std::min(kChunkBytes, size_ - done_) / 2;
  if (n == 0) return false;
  const size_t old = buffer.size();
  buffer.resize(old + n);
  Read(reinterpret_cast<char*>(buffer.data() + old), n * 2);
  if constexpr (std::endian::native == std::endian::big) {
    for (size_t i = old; i < buffer.size(); ++i) buffer[i] = static_cast<char16_t>((buffer[i] >> 8) | (buffer[i] << 8));
  }
  return true;
}

Text DecodeUtf16(std::string_view bytes, bool bigEndian) {
  Text text(bytes.size() / 2, u'\0');
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const int hi = bigEndian ? 0 : 1;
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(b[2 * i + 1 - hi] | (b[2 * i + hi] << 8));
  return text;
}

}  // namespace brannock::registry
