// A COM server for the registration test under Wine: registering writes one
// class key below HKEY_CLASSES_ROOT, unregistering removes it. No class is
// served.
#include <windows.h>
#include <olectl.h>

namespace {

constexpr wchar_t kClassKey[] = L"CLSID\\{B4A22F01-0000-4000-8000-0000000000F1}";
constexpr wchar_t kServerKey[] = L"CLSID\\{B4A22F01-0000-4000-8000-0000000000F1}\\InprocServer32";
constexpr wchar_t kName[] = L"Brannock Registration Fixture";

HRESULT SetDefault(const wchar_t* path, const wchar_t* text) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  const LONG rc = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HMODULE Self() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&Self), &module);
  return module;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
  wchar_t file[MAX_PATH];
  if (!GetModuleFileNameW(Self(), file, MAX_PATH)) return SELFREG_E_CLASS;
  const HRESULT hr = SetDefault(kClassKey, kName);
  return FAILED(hr) ? hr : SetDefault(kServerKey, file);
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
