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
  // Integers (VT_I1..VT_UI8, VT_INT, VT_UINT, VT_ERROR, VT_BOOL as 0/-1)
  // and currency (VT_CY, scaled by 10000).
  int64_t intVal = 0;
  // VT_R4, VT_R8, VT_DATE.
  double dblVal = 0;
  // VT_BSTR.
  Text bstrVal;
  // VT_DECIMAL: the 16 bytes of the DECIMAL structure, little-endian:
  // reserved (2), scale (1), sign (1, 0x80 negative), Hi32, Lo32, Mid32.
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
// build asks oleaut32; elsewhere it is FormatVariantText.
int32_t VariantToText(const Variant& v, Text* text);

// The conversion in the forms oleaut32 gives for US English with flags 0:
// - VT_EMPTY: the empty text.
// - Integers (VT_I1..VT_UI8, VT_INT, VT_UINT): decimal, read at their width.
// - VT_BOOL: "-1" or "0". Without VARIANT_ALPHABOOL the conversion goes
//   through VT_I2, so flags 0 never give "True"/"False".
// - VT_R4, VT_R8: "%G" with 7 or 15 significant digits and no trailing
//   zeros: 1.5, 0.1, 100000000000000, 1E+15, 1E-05, 1.23456789012346E+17;
//   zero is "0", infinities "INF"/"-INF", not-a-number "NAN".
// - VT_CY: the value / 10000 with up to four decimals, trailing zeros cut.
// - VT_DECIMAL: its exact decimal value, trailing fraction zeros cut
//   (scale above 28: E_INVALIDARG).
// - VT_DATE: "m/d/yyyy h:mm:ss AM", the date left out when its day part is
//   30 December 1899 and the time left out at midnight ("12:00:00 AM" when
//   both are); seconds rounded half up; outside 1 January 100 .. 31 December
//   9999: E_INVALIDARG.
// - VT_BSTR: as it is.
// - VT_NULL, VT_ERROR, VT_DISPATCH, VT_UNKNOWN, VT_VARIANT, VT_RECORD and any
//   value with VT_VECTOR, VT_ARRAY or VT_BYREF: DISP_E_TYPEMISMATCH; every
//   other type code: DISP_E_BADVARTYPE.
int32_t FormatVariantText(const Variant& v, Text* text);

}  // namespace brannock::typelib
