#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <random>

#include "common/error.h"
#include "platform/files.h"
#include "platform/messages.h"

namespace brannock::platform {

namespace fs = std::filesystem;

fs::path HostPath(TextView text) { return fs::path(std::wstring(text.begin(), text.end())); }

Text HostPathText(const fs::path& path) {
  const std::wstring w = path.wstring();
  return Text(w.begin(), w.end());
}

fs::path HostPathFromArgument(const std::string& argument) { return HostPath(Utf8ToUtf16(argument)); }

std::FILE* OpenFileForReading(const fs::path& path) { return _wfopen(path.c_str(), L"rb"); }

void UseBinaryStandardOutput() { _setmode(_fileno(stdout), _O_BINARY); }

fs::path ExecutableDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return fs::current_path();
    if (length < buffer.size()) return fs::path(buffer.substr(0, length)).parent_path();
    buffer.resize(buffer.size() * 2);  // the path was cut: ask again with more room
  }
}

namespace {

[[noreturn]] void ThrowCannotCreate(const fs::path& target, DWORD err) {
  std::error_code ec;
  fs::path full = fs::absolute(target, ec);
  if (ec) full = target;
  throw FileError(u"Cannot create file \"" + full.u16string() + u"\". " + SystemMessageText(err));
}

// A new file next to the target with a random suffix.
HANDLE CreateTemporaryNextTo(const fs::path& target, fs::path* tempPath) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t suffix[24];
    swprintf(suffix, 24, L".%016llx.tmp", static_cast<unsigned long long>(random()));
    *tempPath = folder / (L"." + target.filename().wstring() + suffix);
    HANDLE file = CreateFileW(tempPath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

AtomicFile::AtomicFile(const fs::path& path) : path_(path), handle_(-1) {
  if (path.filename().empty()) ThrowCannotCreate(path, ERROR_DIRECTORY);
  HANDLE file = CreateTemporaryNextTo(path, &temp_);
  if (file == INVALID_HANDLE_VALUE) ThrowCannotCreate(path, GetLastError());
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

AtomicFile::~AtomicFile() {
  if (handle_ == -1) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  DeleteFileW(temp_.c_str());
}

void AtomicFile::Fail(unsigned long err) {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
  DeleteFileW(temp_.c_str());
  ThrowCannotCreate(path_, static_cast<DWORD>(err));
}

void AtomicFile::Write(std::string_view bytes) {
  if (handle_ == -1) Fail(ERROR_INVALID_HANDLE);
  if (!WriteAll(reinterpret_cast<HANDLE>(handle_), bytes)) Fail(GetLastError());
}

void AtomicFile::Commit() {
  if (handle_ == -1) Fail(ERROR_INVALID_HANDLE);
  HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (!FlushFileBuffers(file)) Fail(GetLastError());
  CloseHandle(file);
  handle_ = -1;
  if (!MoveFileExW(temp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail(GetLastError());
  }
}

}  // namespace brannock::platform
