#include <charconv>
#include <cmath>

#include "typelib/access.h"
#include "typelib/variant.h"

namespace brannock::typelib {
namespace {

Text Ascii(const char* begin, const char* end) { return Text(begin, end); }

// "%G" with the given significant digits, as oleaut32 prints reals.
Text RealText(double value, int digits) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  if (value == 0) return u"0";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::general, digits);
  Text text = Ascii(buf, r.ptr);
  for (auto& c : text)
    if (c == u'e') c = u'E';
  return text;
}

// A non-negative integer scaled by 10^scale, trailing fraction zeros cut.
Text ScaledText(Text digits, unsigned scale, bool negative) {
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), u'0');
  Text whole = digits.substr(0, digits.size() - scale);
  Text fraction = digits.substr(digits.size() - scale);
  while (!fraction.empty() && fraction.back() == u'0') fraction.pop_back();
  Text text = fraction.empty() ? whole : whole + u"." + fraction;
  return negative && text != u"0" ? u"-" + text : text;
}

Text CurrencyText(int64_t scaled) {
  bool negative = scaled < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  return ScaledText(UIntToText(magnitude), 4, negative);
}

// The 96-bit magnitude in decimal digits (repeated division by 10).
Text Uint96Text(uint32_t hi, uint32_t mid, uint32_t lo) {
  uint32_t parts[3] = {hi, mid, lo};
  Text digits;
  while (parts[0] || parts[1] || parts[2]) {
    uint64_t rest = 0;
    for (auto& p : parts) {
      uint64_t cur = (rest << 32) | p;
      p = static_cast<uint32_t>(cur / 10);
      rest = cur % 10;
    }
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + rest));
  }
  return digits.empty() ? u"0" : digits;
}

uint32_t LittleEndian32(const uint8_t* p) {
  return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

HRESULT DecimalText(const uint8_t (&d)[16], Text* text) {
  unsigned scale = d[2];
  if (scale > 28) return Code::InvalidArg;
  *text = ScaledText(Uint96Text(LittleEndian32(d + 4), LittleEndian32(d + 12), LittleEndian32(d + 8)), scale,
                     d[3] != 0);
  return 0;
}

// Days since 1 January 1970 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

HRESULT DateText(double value, Text* text) {
  constexpr double kFirst = -657434;    // 1 January 100
  constexpr double kPastLast = 2958466;  // 1 January 10000
  if (!(value >= kFirst && value < kPastLast)) return Code::InvalidArg;
  double dayPart = std::trunc(value);
  auto days = static_cast<int64_t>(dayPart);
  auto seconds = static_cast<int64_t>(std::llround(std::fabs(value - dayPart) * 86400));
  if (seconds >= 86400) {
    seconds -= 86400;
    days += value < 0 ? -1 : 1;
  }
  Text date;
  if (days != 0) {
    constexpr int64_t kDaysFrom1899To1970 = 25569;
    int64_t year;
    unsigned month, day;
    CivilFromDays(days - kDaysFrom1899To1970, &year, &month, &day);
    date = UIntToText(month) + u"/" + UIntToText(day) + u"/" + IntToText(year);
  }
  Text time;
  if (seconds != 0 || days == 0) {
    auto hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
    auto twoDigits = [](int64_t v) { return Text(1, static_cast<char16_t>(u'0' + v / 10)) + Text(1, static_cast<char16_t>(u'0' + v % 10)); };
    time = IntToText(hour % 12 == 0 ? 12 : hour % 12) + u":" + twoDigits(minute) + u":" + twoDigits(second) +
           (hour < 12 ? u" AM" : u" PM");
  }
  *text = date.empty() ? time : time.empty() ? date : date + u" " + time;
  return 0;
}

}  // namespace

HRESULT FormatVariantText(const Variant& v, Text* text) {
  text->clear();
  if (v.vt & (VT_VECTOR | VT_ARRAY | VT_BYREF)) return Code::DispTypeMismatch;
  switch (v.vt) {
    case VT_EMPTY: return 0;
    case VT_I1: *text = IntToText(static_cast<int8_t>(v.intVal)); return 0;
    case VT_UI1: *text = UIntToText(static_cast<uint8_t>(v.intVal)); return 0;
    case VT_I2:
    case VT_BOOL: *text = IntToText(static_cast<int16_t>(v.intVal)); return 0;
    case VT_UI2: *text = UIntToText(static_cast<uint16_t>(v.intVal)); return 0;
    case VT_I4:
    case VT_INT: *text = IntToText(static_cast<int32_t>(v.intVal)); return 0;
    case VT_UI4:
    case VT_UINT: *text = UIntToText(static_cast<uint32_t>(v.intVal)); return 0;
    case VT_I8: *text = IntToText(v.intVal); return 0;
    case VT_UI8: *text = UIntToText(static_cast<uint64_t>(v.intVal)); return 0;
    case VT_R4: *text = RealText(static_cast<float>(v.dblVal), 7); return 0;
    case VT_R8: *text = RealText(v.dblVal, 15); return 0;
    case VT_CY: *text = CurrencyText(v.intVal); return 0;
    case VT_DATE: return DateText(v.dblVal, text);
    case VT_DECIMAL: return DecimalText(v.decimal, text);
    case VT_BSTR: *text = v.bstrVal; return 0;
    case VT_NULL:
    case VT_ERROR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
    case VT_VARIANT:
    case VT_RECORD: return Code::DispTypeMismatch;
    default: return Code::DispBadVarType;
  }
}

}  // namespace brannock::typelib
