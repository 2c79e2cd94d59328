#include <windows.h>
#include <oleauto.h>

#include <cstring>

#include "platform/win32/wide_text.h"
#include "typelib/access.h"
#include "typelib/variant.h"

namespace brannock::typelib {

Variant VariantFromPlatform(const VARIANT& v) {
  Variant r;
  r.vt = V_VT(&v);
  switch (V_VT(&v)) {
    case VT_I1: r.intVal = V_I1(&v); break;
    case VT_UI1: r.intVal = V_UI1(&v); break;
    case VT_I2: r.intVal = V_I2(&v); break;
    case VT_UI2: r.intVal = V_UI2(&v); break;
    case VT_I4: r.intVal = V_I4(&v); break;
    case VT_UI4: r.intVal = V_UI4(&v); break;
    case VT_INT: r.intVal = V_INT(&v); break;
    case VT_UINT: r.intVal = V_UINT(&v); break;
    case VT_I8: r.intVal = V_I8(&v); break;
    case VT_UI8: r.intVal = static_cast<int64_t>(V_UI8(&v)); break;
    case VT_ERROR: r.intVal = V_ERROR(&v); break;
    case VT_BOOL: r.intVal = V_BOOL(&v); break;
    case VT_CY: r.intVal = V_CY(&v).int64; break;
    case VT_R4: r.dblVal = V_R4(&v); break;
    case VT_R8: r.dblVal = V_R8(&v); break;
    case VT_DATE: r.dblVal = V_DATE(&v); break;
    case VT_BSTR:
      if (V_BSTR(&v)) r.bstrVal = platform::FromWide(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
      break;
    case VT_DECIMAL: std::memcpy(r.decimal, &V_DECIMAL(&v), sizeof(r.decimal)); break;
    default: break;
  }
  return r;
}

namespace {

// The platform VARIANT for the value types a Variant carries whole; false
// for the others (objects, references, arrays).
bool ToPlatform(const Variant& v, VARIANT* out) {
  VariantInit(out);
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_I1: V_I1(out) = static_cast<CHAR>(v.intVal); break;
    case VT_UI1: V_UI1(out) = static_cast<BYTE>(v.intVal); break;
    case VT_I2: V_I2(out) = static_cast<SHORT>(v.intVal); break;
    case VT_UI2: V_UI2(out) = static_cast<USHORT>(v.intVal); break;
    case VT_I4: V_I4(out) = static_cast<LONG>(v.intVal); break;
    case VT_UI4: V_UI4(out) = static_cast<ULONG>(v.intVal); break;
    case VT_INT: V_INT(out) = static_cast<INT>(v.intVal); break;
    case VT_UINT: V_UINT(out) = static_cast<UINT>(v.intVal); break;
    case VT_I8: V_I8(out) = v.intVal; break;
    case VT_UI8: V_UI8(out) = static_cast<ULONGLONG>(v.intVal); break;
    case VT_ERROR: V_ERROR(out) = static_cast<SCODE>(v.intVal); break;
    case VT_BOOL: V_BOOL(out) = static_cast<VARIANT_BOOL>(v.intVal); break;
    case VT_CY: V_CY(out).int64 = v.intVal; break;
    case VT_R4: V_R4(out) = static_cast<FLOAT>(v.dblVal); break;
    case VT_R8: V_R8(out) = v.dblVal; break;
    case VT_DATE: V_DATE(out) = v.dblVal; break;
    case VT_DECIMAL: std::memcpy(&V_DECIMAL(out), v.decimal, sizeof(v.decimal)); break;
    case VT_BSTR: {
      std::wstring wide = platform::ToWide(v.bstrVal);
      V_BSTR(out) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      if (!V_BSTR(out)) return false;
      break;
    }
    default: return false;
  }
  // Set last: a DECIMAL overlays the type field.
  V_VT(out) = v.vt;
  return true;
}

}  // namespace

int32_t VariantToText(const Variant& v, Text* text) {
  text->clear();
  VARIANT source, dest;
  if (!ToPlatform(v, &source)) return FormatVariantText(v, text);
  VariantInit(&dest);
  HRESULT hr = VariantChangeType(&dest, &source, 0, VT_BSTR);
  if (SUCCEEDED(hr) && V_VT(&dest) == VT_BSTR && V_BSTR(&dest))
    *text = platform::FromWide(V_BSTR(&dest), SysStringLen(V_BSTR(&dest)));
  VariantClear(&dest);
  VariantClear(&source);
  return hr;
}

}  // namespace brannock::typelib
