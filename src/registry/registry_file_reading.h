// Reading registry files through the platform's capped reader
// (platform/file_reading.h), with the cap of registry files
// (kMaxRegistryFileBytes); failures become RegistryParseError naming the
// file.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "common/text.h"
#include "platform/file_reading.h"

namespace brannock::registry {

// The whole file, held unchanged for as long as anyone holds it (mapped
// where the platform maps files).
std::shared_ptr<const platform::WholeFile> ReadWholeRegistryFile(const std::filesystem::path& file, TextView source);

// At most the first `count` bytes of the file.
std::string ReadFileHead(const std::filesystem::path& file, TextView source, size_t count);

// UTF-16 code units of little-endian (or big-endian) bytes.
Text DecodeUtf16(std::string_view bytes, bool bigEndian);

}  // namespace brannock::registry
