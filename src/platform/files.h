// Files: where the program lives, and writing a file completely or not at all.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/text.h"

namespace brannock::platform {

// The folder that holds the running executable.
std::filesystem::path ExecutableDirectory();

// Writes `bytes` to a temporary file in the target's folder, flushes it to
// disk and renames it over the target, so the target holds either its old
// content or all of the new one. Raises FileError
// "Cannot create file "%s". %s" with the full path and the system's reason;
// the temporary file is removed on failure.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

bool FileExists(const std::filesystem::path& path);

// A host path from the system's UTF-16 text and back: the same code units
// on Windows, UTF-8 on POSIX.
std::filesystem::path HostPath(TextView text);
Text HostPathText(const std::filesystem::path& path);

// A path given on the command line as UTF-8 (Windows, converted from its
// UTF-16 arguments); on POSIX the bytes as given, also when not UTF-8.
std::filesystem::path HostPathFromArgument(const std::string& argument);

// Opens a file for reading in binary mode; null with errno set on failure.
std::FILE* OpenFileForReading(const std::filesystem::path& path);

// Standard output written byte for byte (no "\n" to CR LF on Windows).
void UseBinaryStandardOutput();

}  // namespace brannock::platform
