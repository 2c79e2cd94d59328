#include "registry/win32_registry.h"

#include <windows.h>

#include <algorithm>

#include "platform/environment_list.h"
#include "platform/win32/wide_text.h"
#include "registry/registry_error.h"

namespace brannock::registry {

using platform::FromWide;
using platform::ToWide;

namespace {

// Key names are at most 255 characters, value names at most 16383.
constexpr DWORD kMaxKeyNameChars = 255;
constexpr DWORD kMaxValueNameChars = 16383;
// A value may change between the size query and the read; give up after a
// few rounds rather than loop.
constexpr int kReadAttempts = 8;

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case RootKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RootKey::Users:
      return HKEY_USERS;
  }
  return HKEY_CLASSES_ROOT;
}

class Win32Key : public OpenedKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  TextList SubkeyNames() override {
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
      return {};
    TextList names;
    names.reserve(count);
    std::wstring buffer(std::max(longest, kMaxKeyNameChars) + 1, L'\0');
    for (DWORD i = 0; i < count; ++i) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LONG rc = RegEnumKeyExW(key_, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (rc == ERROR_NO_MORE_ITEMS) break;  // subkeys were deleted since the count
      if (rc != ERROR_SUCCESS) continue;
      names.push_back(FromWide(buffer.data(), length));
    }
    return names;
  }

  TextList ValueNames() override {
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
      return {};
    TextList names;
    names.reserve(count);
    std::wstring buffer(longest + 1, L'\0');
    for (DWORD i = 0; i < count; ++i) {
      DWORD length = static_cast<DWORD>(buffer.size());
      LONG rc = RegEnumValueW(key_, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (rc == ERROR_MORE_DATA && buffer.size() <= kMaxValueNameChars) {
        buffer.assign(kMaxValueNameChars + 1, L'\0');
        length = static_cast<DWORD>(buffer.size());
        rc = RegEnumValueW(key_, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
      }
      if (rc == ERROR_NO_MORE_ITEMS) break;
      if (rc != ERROR_SUCCESS) continue;
      names.push_back(FromWide(buffer.data(), length));
    }
    return names;
  }

  bool QueryValue(TextView name, uint32_t* type, uint32_t* size, Bytes* data) override {
    const std::wstring wideName = ToWide(name);
    DWORD valueType = 0;
    DWORD valueSize = 0;
    if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &valueType, nullptr, &valueSize) != ERROR_SUCCESS)
      return false;
    if (data != nullptr) {
      LONG rc = ERROR_MORE_DATA;
      for (int attempt = 0; attempt < kReadAttempts && rc == ERROR_MORE_DATA; ++attempt) {
        data->assign(valueSize, 0);
        DWORD got = valueSize;
        rc = RegQueryValueExW(key_, wideName.c_str(), nullptr, &valueType, data->empty() ? nullptr : data->data(),
                              &got);
        valueSize = got;
      }
      if (rc != ERROR_SUCCESS) return false;
      data->resize(valueSize);
    }
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = valueSize;
    return true;
  }

  void SetValue(TextView name, uint32_t type, const Bytes& data) override {
    const std::wstring wideName = ToWide(name);
    if (RegSetValueExW(key_, wideName.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())) !=
        ERROR_SUCCESS)
      throw RegistryError(u"Failed to set data for '" + Text(name) + u"'");
  }

 private:
  HKEY key_;
};

bool AskWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return false;
  auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL result = FALSE;
  return isWow64 != nullptr && isWow64(GetCurrentProcess(), &result) && result;
}

}  // namespace

std::unique_ptr<OpenedKey> Win32Registry::Open(RootKey root, TextView path, uint32_t access) {
  const std::wstring widePath = ToWide(path);
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootHandle(root), widePath.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<OpenedKey> Win32Registry::Create(RootKey root, TextView path) {
  if (root != RootKey::CurrentUser) return nullptr;
  const std::wstring widePath = ToWide(path);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, widePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32Key>(key);
}

bool Win32Registry::RunsUnderWow64() const {
  static const bool underWow64 = AskWow64();
  return underWow64;
}

RegistryView Win32Registry::MachineView() const {
  return sizeof(void*) == 8 || RunsUnderWow64() ? RegistryView::Bits64 : RegistryView::Bits32;
}

TextList Win32Registry::WindowsEnvironment() const {
  TextList list;
  platform::GetEnvironmentList(list);
  return list;
}

}  // namespace brannock::registry
