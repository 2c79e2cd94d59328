// Files: where the program lives, and writing a file completely or not at all.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/text.h"

namespace brannock::platform {

// The folder that holds the running executable.
std::filesystem::path ExecutableDirectory();

// A file written in parts that appears completely or not at all: the parts
// go to a temporary file in the target's folder, which Commit flushes to
// disk and renames over the target, so the target holds either its old
// content or all of the new one. Every failure raises FileError
// "Cannot create file "%s". %s" with the target's full path and the
// system's reason. The temporary file is removed on failure, and when the
// writer ends without Commit (an error while the parts were made).
class AtomicFile {
 public:
  // Creates the temporary file.
  explicit AtomicFile(const std::filesystem::path& path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes);
  void Commit();

 private:
  [[noreturn]] void Fail(unsigned long err);

  std::filesystem::path path_, temp_;
  std::intptr_t handle_;  // the system's handle of the temporary file; -1 once closed
};

// One AtomicFile holding `bytes`.
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
