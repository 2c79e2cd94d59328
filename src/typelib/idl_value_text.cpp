#include "typelib/idl_value_text.h"

namespace brannock::typelib {
namespace {

Text HexDigits(uint32_t value, int width) {
  Text digits(static_cast<size_t>(width), u'0');
  for (int i = width - 1; i >= 0; --i, value >>= 4) digits[static_cast<size_t>(i)] = u"0123456789abcdef"[value & 0xF];
  return digits;
}

}  // namespace

void AppendIdlString(TextView text, Text* out) {
  out->push_back(u'"');
  for (char16_t c : text) {
    switch (c) {
      case u'\\': *out += u"\\\\"; break;
      case u'"': *out += u"\\\""; break;
      case u'\n': *out += u"\\n"; break;
      case u'\r': *out += u"\\r"; break;
      case u'\t': *out += u"\\t"; break;
      default:
        if (c < 0x20) {
          *out += u"\\x";
          *out += HexDigits(c, 2);
        } else {
          out->push_back(c);
        }
        break;
    }
  }
  out->push_back(u'"');
}

void AppendIdlHex(uint32_t value, Text* out) {
  *out += u"0x";
  *out += HexDigits(value, 8);
}

Text IdlGuidText(const Guid& guid) {
  Text text = GuidToText(guid);
  return text.size() > 2 ? text.substr(1, text.size() - 2) : text;
}

bool AppendIdlValue(const Variant& value, Text* out) {
  Text text;
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_DISPATCH:
    case VT_UNKNOWN: *out += u"0"; return true;
    case VT_BSTR: AppendIdlString(value.bstrVal, out); return true;
    case VT_ERROR:
    case VT_HRESULT: *out += IntToText(static_cast<int32_t>(value.intVal)); return true;
    case VT_DATE:
      // A date is the number of days since 30 December 1899.
      if (FormatVariantText(Variant::Real(VT_R8, value.dblVal), &text) >= 0) {
        *out += text;
        return true;
      }
      break;
    default:
      if (FormatVariantText(value, &text) >= 0) {
        *out += text;
        return true;
      }
      break;
  }
  *out += u"0 /* a value of variant type 0x";
  *out += HexDigits(value.vt, 4);
  *out += u" */";
  return false;
}

}  // namespace brannock::typelib
