// A variant value as type libraries store it (constants, parameter
// defaults), and its conversion to text (VariantChangeType to VT_BSTR).
#pragma once

#include <cstdint>

#include "common/text.h"

namespace brannock::typelib {

enum VarType : uint16_t {
  VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6, VT_DATE = 7,
  VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12, VT_UNKNOWN = 13,
  VT_DECIMAL = 14, VT_I1 = 16, VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19, VT_I8 = 20, VT_UI8 = 21,
  VT_INT = 22, VT_UINT = 23, VT_VOID = 24, VT_HRESULT = 25, VT_PTR = 26, VT_SAFEARRAY = 27,
  VT_CARRAY = 28, VT_USERDEFINED = 29, VT_LPSTR = 30, VT_LPWSTR = 31, VT_RECORD = 36,
  VT_INT_PTR = 37, VT_UINT_PTR = 38,
  VT_VECTOR = 0x1000, VT_ARRAY = 0x2000, VT_BYREF = 0x4000,
};

struct Variant {
  uint16_t vt = VT_EMPTY;
  // Integers (VT_I1..VT_UI8, VT_INT, VT_UINT, VT_ERROR, VT_BOOL as 0/-1),
  // currency (VT_CY, scaled by 10000) and dates' raw bits are kept here.
  int64_t intVal = 0;
  // VT_R4, VT_R8, VT_DATE.
  double dblVal = 0;
  // VT_BSTR.
  Text bstrVal;
  // VT_DECIMAL: the 16 bytes as stored.
  uint8_t decimal[16] = {};

  static Variant Int(uint16_t vt, int64_t v) {
    Variant r;
    r.vt = vt;
    r.intVal = v;
    return r;
  }
  static Variant Str(Text s) {
    Variant r;
    r.vt = VT_BSTR;
    r.bstrVal = std::move(s);
    return r;
  }
  static Variant Real(uint16_t vt, double d) {
    Variant r;
    r.vt = vt;
    r.dblVal = d;
    return r;
  }
};

// VariantChangeType(dest, src, 0, VT_BSTR): the value's text. Returns a
// failure code (negative) when the value cannot be converted. The Windows
// build uses oleaut32; elsewhere the "C"/US English forms are produced.
int32_t VariantToText(const Variant& v, Text* text);

}  // namespace brannock::typelib
