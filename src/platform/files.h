// Files: where the program lives, and writing a file completely or not at all.
#pragma once

#include <filesystem>
#include <string_view>

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

}  // namespace brannock::platform
