// Whole-file reading for the registry file readers; failures become
// RegistryParseError naming the file.
#pragma once

#include <filesystem>
#include <string>

#include "common/text.h"

namespace brannock::registry {

// The file's bytes.
std::string ReadFileBytes(const std::filesystem::path& file, TextView source);

// At most the first `count` bytes of the file.
std::string ReadFileHead(const std::filesystem::path& file, TextView source, size_t count);

// The file's bytes from `offset` on, as UTF-16LE code units (read straight
// into the text's buffer, with no second copy). An odd number of bytes
// raises RegistryParseError.
Text ReadFileUtf16(const std::filesystem::path& file, TextView source, size_t offset);

// UTF-16 code units of little-endian (or big-endian) bytes.
Text DecodeUtf16(std::string_view bytes, bool bigEndian);

}  // namespace brannock::registry
