// Test instances on Windows, through COM. The instance helper for Wine
// (src/app/instance_helper/) runs this same code inside the prefix.
#include <windows.h>
#include <oleauto.h>

#include "platform/instance_probe.h"
#include "platform/win32/com_scope.h"
#include "platform/win32/wide_text.h"

namespace brannock::platform {

namespace {

// {00020400-0000-0000-C000-000000000046}
constexpr IID kIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// A running instance of the ProgID's class that gives IDispatch, else a new
// one (in-process or local server); null when neither is had. The failure
// code of the creation is not kept.
IDispatch* ObtainInstance(TextView progId) {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(ToWide(progId).c_str(), &clsid))) return nullptr;
  IUnknown* running = nullptr;
  if (SUCCEEDED(GetActiveObject(clsid, nullptr, &running)) && running) {
    IDispatch* dispatch = nullptr;
    const HRESULT hr = running->QueryInterface(kIDispatch, reinterpret_cast<void**>(&dispatch));
    running->Release();
    if (SUCCEEDED(hr) && dispatch) return dispatch;
  }
  IDispatch* created = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, kIDispatch,
                              reinterpret_cast<void**>(&created))))
    return nullptr;
  return created;
}

}  // namespace

InstanceReport ProbeInstance(TextView progId, const ProcessLauncher&) {
  // The window's thread already has COM; the helper program gets it here.
  ComScope com;
  IDispatch* instance = ObtainInstance(progId);
  if (!instance) return {};
  ITypeInfo* info = nullptr;
  const HRESULT hr = instance->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, &info);
  if (info) info->Release();
  instance->Release();
  if (FAILED(hr)) return {InstanceReport::Outcome::TypeInfoFailed, static_cast<uint32_t>(hr)};
  return {InstanceReport::Outcome::Ok, 0};
}

std::filesystem::path FindInstanceHelper() { return {}; }
std::filesystem::path FindInstanceHelperFor(const std::filesystem::path&) { return {}; }

}  // namespace brannock::platform
