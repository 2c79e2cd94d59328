#include "registry/registry_file_reading.h"

#include <algorithm>
#include <cstring>

#include "registry/input_limits.h"
#include "registry/registry_parse_error.h"

namespace brannock::registry {

namespace {

using Reason = platform::FileReadFailure::Reason;

[[noreturn]] void Raise(TextView source, const platform::FileReadFailure& failure) {
  switch (failure.reason) {
    case Reason::CannotOpen:
      throw RegistryParseError::At(source, 0, std::string("cannot read the file: ") + std::strerror(failure.error));
    case Reason::NotAFile:
      throw RegistryParseError::At(source, 0, "cannot read the file: it is not a regular file");
    case Reason::TooLarge:
      throw RegistryParseError::At(source, 0, RegistryFileSizeError(failure.size));
    case Reason::Changed:
      break;
  }
  throw RegistryParseError::At(source, 0, "cannot read the file: it changed while it was read");
}

void Check(const platform::CappedFile& file, TextView source) {
  if (file.Failure()) Raise(source, *file.Failure());
}

}  // namespace

std::shared_ptr<const platform::WholeFile> ReadWholeRegistryFile(const std::filesystem::path& file, TextView source) {
  platform::FileReadFailure failure;
  auto whole = platform::WholeFile::Read(file, kMaxRegistryFileBytes, &failure);
  if (!whole) Raise(source, failure);
  return whole;
}

std::string ReadFileHead(const std::filesystem::path& file, TextView source, size_t count) {
  platform::CappedFile f(file, kMaxRegistryFileBytes);
  Check(f, source);
  std::string bytes(std::min(f.Size(), count), '\0');
  f.Read(bytes.data(), bytes.size());
  Check(f, source);
  return bytes;
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
