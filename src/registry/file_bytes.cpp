#include "registry/file_bytes.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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
  FilePtr f(std::fopen(file.c_str(), "rb"));
  if (!f) FailRead(source, errno);
  if (std::fseek(f.get(), 0, SEEK_END) != 0) FailRead(source, errno);
  const long end = std::ftell(f.get());
  if (end < 0) FailRead(source, errno);
  if (std::fseek(f.get(), 0, SEEK_SET) != 0) FailRead(source, errno);
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

Text ReadFileUtf16(const std::filesystem::path& file, TextView source, size_t offset) {
  size_t size = 0;
  FilePtr f = OpenForReading(file, source, size);
  if (size < offset) throw RegistryParseError::At(source, 0, "cannot read the file: it changed while it was read");
  if ((size - offset) % 2 != 0) throw RegistryParseError::At(source, 0, "truncated UTF-16 text (odd number of bytes)");
  if (std::fseek(f.get(), static_cast<long>(offset), SEEK_SET) != 0) FailRead(source, errno);
  Text text((size - offset) / 2, u'\0');
  ReadExactly(f.get(), text.data(), size - offset, source);
  if constexpr (std::endian::native == std::endian::big) {
    for (char16_t& c : text) c = static_cast<char16_t>((c >> 8) | (c << 8));
  }
  return text;
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
