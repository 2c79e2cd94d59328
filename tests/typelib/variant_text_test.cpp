#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "typelib/access.h"
#include "typelib/variant.h"

namespace brannock::typelib {
namespace {

Text Format(const Variant& v) {
  Text text = u"unchanged";
  HRESULT hr = FormatVariantText(v, &text);
  EXPECT_EQ(hr, 0) << "vt " << v.vt;
  return text;
}

HRESULT Failure(const Variant& v) {
  Text text = u"unchanged";
  HRESULT hr = FormatVariantText(v, &text);
  EXPECT_EQ(text, u"");
  return hr;
}

Variant Decimal(uint8_t scale, uint8_t sign, uint32_t hi, uint64_t lo) {
  Variant v;
  v.vt = VT_DECIMAL;
  v.decimal[2] = scale;
  v.decimal[3] = sign;
  for (int i = 0; i < 4; ++i) v.decimal[4 + i] = static_cast<uint8_t>(hi >> (8 * i));
  for (int i = 0; i < 4; ++i) v.decimal[8 + i] = static_cast<uint8_t>(lo >> (8 * i));
  for (int i = 0; i < 4; ++i) v.decimal[12 + i] = static_cast<uint8_t>(lo >> (32 + 8 * i));
  return v;
}

TEST(FormatVariantText, IntegersAtTheirWidth) {
  EXPECT_EQ(Format(Variant()), u"");
  EXPECT_EQ(Format(Variant::Int(VT_I1, -5)), u"-5");
  EXPECT_EQ(Format(Variant::Int(VT_I1, 0xFF)), u"-1");
  EXPECT_EQ(Format(Variant::Int(VT_UI1, 255)), u"255");
  EXPECT_EQ(Format(Variant::Int(VT_I2, -32768)), u"-32768");
  EXPECT_EQ(Format(Variant::Int(VT_UI2, 65535)), u"65535");
  EXPECT_EQ(Format(Variant::Int(VT_I4, -2147483648LL)), u"-2147483648");
  EXPECT_EQ(Format(Variant::Int(VT_INT, 0xFFFFFFFF)), u"-1");
  EXPECT_EQ(Format(Variant::Int(VT_UI4, 0xFFFFFFFF)), u"4294967295");
  EXPECT_EQ(Format(Variant::Int(VT_UINT, 7)), u"7");
  EXPECT_EQ(Format(Variant::Int(VT_I8, std::numeric_limits<int64_t>::min())), u"-9223372036854775808");
  EXPECT_EQ(Format(Variant::Int(VT_UI8, -1)), u"18446744073709551615");
  // Without VARIANT_ALPHABOOL a boolean converts through VT_I2.
  EXPECT_EQ(Format(Variant::Int(VT_BOOL, -1)), u"-1");
  EXPECT_EQ(Format(Variant::Int(VT_BOOL, 0)), u"0");
  EXPECT_EQ(Format(Variant::Str(u"as is 'x'")), u"as is 'x'");
}

TEST(FormatVariantText, RealsWithSignificantDigits) {
  const std::pair<double, const char16_t*> doubles[] = {
      {1.5, u"1.5"},     {0.1, u"0.1"},       {1e20, u"1E+20"},      {1e15, u"1E+15"},
      {1e14, u"100000000000000"}, {123456789012345678.0, u"1.23456789012346E+17"},
      {1e-5, u"1E-05"},  {0.0001, u"0.0001"}, {0.000123, u"0.000123"}, {1.0 / 3, u"0.333333333333333"},
      {-2.5, u"-2.5"},   {0.0, u"0"},         {-0.0, u"0"},          {1e-10, u"1E-10"},
      {100, u"100"},     {1.7976931348623157e308, u"1.79769313486232E+308"},
      {999999999999999.9, u"1E+15"}, {5e-324, u"4.94065645841247E-324"}};
  for (const auto& [value, text] : doubles) EXPECT_EQ(Format(Variant::Real(VT_R8, value)), text) << value;
  const std::pair<float, const char16_t*> singles[] = {{1.5f, u"1.5"},       {0.1f, u"0.1"},
                                                      {1e20f, u"1E+20"},    {1e7f, u"1E+07"},
                                                      {1e6f, u"1000000"},   {1.0f / 3, u"0.3333333"},
                                                      {3.4e38f, u"3.4E+38"}, {1e-5f, u"1E-05"}};
  for (const auto& [value, text] : singles) EXPECT_EQ(Format(Variant::Real(VT_R4, value)), text) << value;
  EXPECT_EQ(Format(Variant::Real(VT_R8, std::numeric_limits<double>::infinity())), u"INF");
  EXPECT_EQ(Format(Variant::Real(VT_R8, -std::numeric_limits<double>::infinity())), u"-INF");
  EXPECT_EQ(Format(Variant::Real(VT_R8, std::nan(""))), u"NAN");
}

TEST(FormatVariantText, CurrencyAndDecimal) {
  EXPECT_EQ(Format(Variant::Int(VT_CY, 15000)), u"1.5");
  EXPECT_EQ(Format(Variant::Int(VT_CY, -12345)), u"-1.2345");
  EXPECT_EQ(Format(Variant::Int(VT_CY, 10000)), u"1");
  EXPECT_EQ(Format(Variant::Int(VT_CY, 1)), u"0.0001");
  EXPECT_EQ(Format(Variant::Int(VT_CY, -1)), u"-0.0001");
  EXPECT_EQ(Format(Variant::Int(VT_CY, 0)), u"0");
  EXPECT_EQ(Format(Variant::Int(VT_CY, std::numeric_limits<int64_t>::max())), u"922337203685477.5807");
  EXPECT_EQ(Format(Variant::Int(VT_CY, std::numeric_limits<int64_t>::min())), u"-922337203685477.5808");

  EXPECT_EQ(Format(Decimal(2, 0x80, 0, 12345)), u"-123.45");
  EXPECT_EQ(Format(Decimal(0, 0, 1, 0)), u"18446744073709551616");
  EXPECT_EQ(Format(Decimal(4, 0, 0, 10000)), u"1");
  EXPECT_EQ(Format(Decimal(28, 0, 0, 1)), u"0.0000000000000000000000000001");
  EXPECT_EQ(Format(Decimal(0, 0, 0xFFFFFFFF, ~0ULL)), u"79228162514264337593543950335");
  EXPECT_EQ(Format(Decimal(2, 0x80, 0, 0)), u"0");
  EXPECT_EQ(Format(Decimal(0, 0, 0, 0x100000000ULL)), u"4294967296");  // Mid32 alone
  EXPECT_EQ(Failure(Decimal(29, 0, 0, 1)), Code::InvalidArg);
}

TEST(FormatVariantText, DatesInUsForm) {
  const std::pair<double, const char16_t*> dates[] = {
      {0, u"12:00:00 AM"},
      {1, u"12/31/1899"},
      {2.5, u"1/1/1900 12:00:00 PM"},
      {36526.75, u"1/1/2000 6:00:00 PM"},
      {-1, u"12/29/1899"},
      {-1.5, u"12/29/1899 12:00:00 PM"},
      {0.5, u"12:00:00 PM"},
      {45000 + 1.0 / 86400, u"3/15/2023 12:00:01 AM"},
      {45000 + 13.0 / 24 + 5.0 / 1440, u"3/15/2023 1:05:00 PM"},
      {1.5 / 86400, u"12:00:02 AM"},
      {2958465.99999, u"12/31/9999 11:59:59 PM"},
      {-657434, u"1/1/100"},
      {60, u"2/28/1900"},
      {61, u"3/1/1900"},
      {36585, u"2/29/2000"},
      {1 - 0.1 / 86400, u"12/31/1899"}};  // rounds up into the next day
  for (const auto& [value, text] : dates) EXPECT_EQ(Format(Variant::Real(VT_DATE, value)), text) << value;
  EXPECT_EQ(Failure(Variant::Real(VT_DATE, 2958466)), Code::InvalidArg);
  EXPECT_EQ(Failure(Variant::Real(VT_DATE, -657435)), Code::InvalidArg);
  EXPECT_EQ(Failure(Variant::Real(VT_DATE, 1e300)), Code::InvalidArg);
  EXPECT_EQ(Failure(Variant::Real(VT_DATE, std::nan(""))), Code::InvalidArg);
}

TEST(FormatVariantText, TypesWithoutText) {
  for (int vt : {int{VT_NULL}, int{VT_ERROR}, int{VT_DISPATCH}, int{VT_UNKNOWN}, int{VT_VARIANT}, int{VT_RECORD}, VT_BYREF | VT_I4,
                 VT_ARRAY | VT_I4, VT_VECTOR | VT_BSTR})
    EXPECT_EQ(Failure(Variant::Int(static_cast<uint16_t>(vt), 5)), Code::DispTypeMismatch) << vt;
  for (int vt : {15, int{VT_VOID}, int{VT_HRESULT}, int{VT_PTR}, int{VT_SAFEARRAY}, int{VT_CARRAY},
                 int{VT_USERDEFINED}, int{VT_LPSTR}, int{VT_LPWSTR}, int{VT_INT_PTR}, int{VT_UINT_PTR}, 200, 0x0FFF})
    EXPECT_EQ(Failure(Variant::Int(static_cast<uint16_t>(vt), 5)), Code::DispBadVarType) << vt;
}

}  // namespace
}  // namespace brannock::typelib
