#include "typelib/type_desc_text.h"

#include <gtest/gtest.h>

#include "typelib/memory_typelib.h"

namespace brannock::typelib {
namespace {

using namespace testing;

TEST(TypeDescToStr, BasicCodesByTable) {
  MemoryTypeInfo owner;
  const std::pair<uint16_t, const char16_t*> table[] = {
      {VT_EMPTY, u"Unknown"},      {VT_NULL, u"Unknown"},     {VT_I2, u"SmallInt"},  {VT_I4, u"LongInt"},
      {VT_R4, u"Single"},          {VT_R8, u"Double"},        {VT_CY, u"Currency"},  {VT_DATE, u"TDateTime"},
      {VT_BSTR, u"WideString"},    {VT_DISPATCH, u"IDispatch"}, {VT_ERROR, u"HRESULT"}, {VT_BOOL, u"WordBool"},
      {VT_VARIANT, u"Variant"},    {VT_UNKNOWN, u"IUnknown"}, {VT_DECIMAL, u"Unknown"}, {15, u"Unknown"},
      {VT_I1, u"ShortInt"},        {VT_UI1, u"Byte"},         {VT_UI2, u"Word"},     {VT_UI4, u"Cardinal"},
      {VT_I8, u"Int64"},           {VT_UI8, u"Int64(?)"},     {VT_INT, u"Integer"},  {VT_UINT, u"DWORD"},
      {VT_VOID, u"out"},           {VT_HRESULT, u"HRESULT"},  {VT_LPSTR, u"PChar"},  {VT_LPWSTR, u"PWideChar"},
      {32, u"Unknown"},            {VT_RECORD, u"Unknown"},   {VT_INT_PTR, u"Unknown"}, {VT_UINT_PTR, u"Unknown"},
      {VT_BYREF | VT_I4, u"Unknown"}, {VT_ARRAY | VT_BSTR, u"Unknown"}, {VT_VECTOR | VT_UI1, u"Unknown"},
      {VT_BYREF | VT_PTR, u"Unknown"}, {0xFFFF, u"Unknown"}};
  for (const auto& [vt, text] : table) EXPECT_EQ(TypeDescToStr(Vt(vt), owner), text) << "vt " << vt;
}

TEST(TypeDescToStr, PointersAndSafeArraysNest) {
  MemoryTypeInfo owner;
  EXPECT_EQ(TypeDescToStr(Ptr(Ptr(Vt(VT_I4))), owner), u"LongInt");
  EXPECT_EQ(TypeDescToStr(Ptr(Vt(VT_VOID)), owner), u"out");
  EXPECT_EQ(TypeDescToStr(SafeArrayOf(Vt(VT_BSTR)), owner), u"array of WideString");
  EXPECT_EQ(TypeDescToStr(SafeArrayOf(SafeArrayOf(Vt(VT_VARIANT))), owner), u"array of array of Variant");
  EXPECT_EQ(TypeDescToStr(Ptr(SafeArrayOf(Ptr(Vt(VT_UI1)))), owner), u"array of Byte");
  // A descriptor without its target does not crash.
  EXPECT_EQ(TypeDescToStr(Vt(VT_PTR), owner), u"Unknown");
  EXPECT_EQ(TypeDescToStr(Vt(VT_SAFEARRAY), owner), u"Unknown");
  EXPECT_EQ(TypeDescToStr(Vt(VT_CARRAY), owner), u"Unknown");
}

TEST(TypeDescToStr, FixedArraysOneBracketPerDimension) {
  MemoryTypeInfo owner;
  EXPECT_EQ(TypeDescToStr(CArray(Vt(VT_UI1), {16}), owner), u"array[0..15] of Byte");
  // The lower bound of the descriptor is not used.
  EXPECT_EQ(TypeDescToStr(CArray(Vt(VT_I4), {4, 2}, 1), owner), u"array[0..3][0..1] of LongInt");
  EXPECT_EQ(TypeDescToStr(CArray(Vt(VT_R8), {2, 3, 4}), owner), u"array[0..1][0..2][0..3] of Double");
  EXPECT_EQ(TypeDescToStr(CArray(Vt(VT_I2), {}), owner), u"array of SmallInt");
  EXPECT_EQ(TypeDescToStr(CArray(CArray(Vt(VT_UI1), {8}), {2}), owner), u"array[0..1] of array[0..7] of Byte");
  EXPECT_EQ(TypeDescToStr(CArray(Vt(VT_I4), {0}), owner), u"array[0..-1] of LongInt");
  EXPECT_EQ(TypeDescToStr(CArray(Vt(VT_I4), {0xFFFFFFFF}), owner), u"array[0..4294967294] of LongInt");
  // A dimension count larger than the bounds given reads only the bounds there are.
  TypeDesc broken = CArray(Vt(VT_I4), {3});
  std::const_pointer_cast<ArrayDesc>(broken.lpadesc)->cDims = 9;
  EXPECT_EQ(TypeDescToStr(broken, owner), u"array[0..2] of LongInt");
}

TEST(TypeDescToStr, UserDefinedTypesByReference) {
  MemoryTypeLib lib;
  auto owner = lib.AddType(TKIND_INTERFACE, u"IOwner");
  auto foo = lib.AddType(TKIND_INTERFACE, u"IFoo");
  auto events = lib.AddType(TKIND_DISPATCH, u"DEvents");
  auto coclass = lib.AddType(TKIND_COCLASS, u"Shape");
  auto nulName = lib.AddType(TKIND_RECORD, Text(u"Rec\0junk", 8));
  auto unnamed = lib.AddType(TKIND_RECORD, u"");
  EXPECT_EQ(TypeDescToStr(Ptr(UserType(owner->AddReference(foo))), *owner), u"IFoo");
  EXPECT_EQ(TypeDescToStr(UserType(owner->AddReference(events)), *owner), u"DEvents");
  EXPECT_EQ(TypeDescToStr(UserType(owner->AddReference(coclass)), *owner), u"Shape");
  // Used as returned, not cut at the NUL.
  EXPECT_EQ(TypeDescToStr(UserType(owner->AddReference(nulName)), *owner), Text(u"Rec\0junk", 8));
  EXPECT_EQ(TypeDescToStr(UserType(owner->AddReference(unnamed)), *owner), u"");
  EXPECT_EQ(TypeDescToStr(SafeArrayOf(UserType(owner->AddReference(foo))), *owner), u"array of IFoo");
  EXPECT_EQ(TypeDescToStr(UserType(0x7777), *owner), u"<UnknownCustomType>");
  EXPECT_EQ(GetUserTypeName(0x7777, *owner), u"<UnknownCustomType>");
  // A referenced type whose documentation fails is not resolved either.
  HREFTYPE silent = owner->AddReference(foo);
  foo->docResult = Code::TypeElementNotFound;
  EXPECT_EQ(GetUserTypeName(silent, *owner), u"<UnknownCustomType>");
}

TEST(TypeDescToStr, DeepChainsEndInUnknownInsteadOfExhaustingTheStack) {
  MemoryTypeInfo owner;
  TypeDesc chain = Vt(VT_I4);
  for (int i = 0; i < kMaxTypeDescDepth; ++i) chain = Ptr(std::move(chain));
  EXPECT_EQ(TypeDescToStr(chain, owner), u"LongInt");
  chain = Ptr(std::move(chain));
  EXPECT_EQ(TypeDescToStr(chain, owner), u"Unknown");
  TypeDesc arrays = Vt(VT_BSTR);
  for (int i = 0; i < 2 * kMaxTypeDescDepth; ++i) arrays = i % 2 ? CArray(std::move(arrays), {1}) : SafeArrayOf(std::move(arrays));
  EXPECT_NE(TypeDescToStr(arrays, owner).find(u"of Unknown"), Text::npos);
}

}  // namespace
}  // namespace brannock::typelib
