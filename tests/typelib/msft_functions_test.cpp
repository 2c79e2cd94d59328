// The type table of the reader's functions: one entry per distinct type,
// and no two distinct types in one entry; the index of member ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "typelib/msft_functions.h"
#include "typelib/msft_model.h"
#include "typelib/variant.h"

namespace brannock::typelib::msft {
namespace {

TypeDesc Leaf(uint16_t vt, HREFTYPE href = 0) {
  TypeDesc d;
  d.vt = vt;
  d.hreftype = href;
  return d;
}

TypeDesc PointerTo(std::shared_ptr<const TypeDesc> inner) {
  TypeDesc d;
  d.vt = VT_PTR;
  d.lptdesc = std::move(inner);
  return d;
}

TEST(TypeTable, KeepsEachTypeOnceAndTellsDistinctTypesApart) {
  TypeTable types;
  const TypeId i4 = types.Add(Leaf(VT_I4));
  EXPECT_EQ(types.Add(Leaf(VT_I4)), i4);
  const TypeId shape = types.Add(Leaf(VT_USERDEFINED, 0x40));
  EXPECT_NE(types.Add(Leaf(VT_USERDEFINED, 0x80)), shape) << "another referenced type";
  EXPECT_NE(types.Add(Leaf(VT_I4 | VT_BYREF)), i4) << "the flag bits of the kind count";

  // Pointers are one when they share their inner description, whatever it says.
  auto toShape = std::make_shared<const TypeDesc>(Leaf(VT_USERDEFINED, 0x40));
  const TypeId p = types.Add(PointerTo(toShape));
  EXPECT_EQ(types.Add(PointerTo(toShape)), p);
  EXPECT_NE(types.Add(PointerTo(std::make_shared<const TypeDesc>(Leaf(VT_USERDEFINED, 0x80)))), p);
  EXPECT_EQ(types[p].lptdesc, toShape);

  // What a pointer points to is a type of the table too.
  EXPECT_EQ(types.Pointee(p), shape);
  EXPECT_EQ(types.Pointee(i4), i4) << "no pointer";
  const TypeId bare = types.Add(Leaf(VT_PTR));
  EXPECT_EQ(types.Pointee(bare), bare) << "a pointer without its inner type";
  const size_t size = types.Size();
  auto toPointer = std::make_shared<const TypeDesc>(PointerTo(toShape));
  const TypeId pp = types.Add(PointerTo(toPointer));
  EXPECT_EQ(types.Pointee(pp), p) << "its inner description is shared, so it is the pointer already kept";
  EXPECT_EQ(types.Size(), size + 1);
}

TEST(TypeTable, FunctionsMadeAndGivenBackWholeIntoAReusedRecord) {
  TypeTable types;
  ParamList params;
  FuncDesc wide;
  wide.memid = 7;
  wide.funckind = FUNC_DISPATCH;
  wide.invkind = INVOKE_PROPERTYPUT;
  wide.callconv = 1;
  wide.cParams = 2;
  wide.cParamsOpt = 1;
  wide.oVft = 28;
  wide.wFuncFlags = 0x40;
  wide.elemdescFunc.tdesc = Leaf(VT_HRESULT);
  wide.elemdescFunc.paramdesc.wParamFlags = ParamFlag::Out;
  wide.lprgelemdescParam.resize(2);
  wide.lprgelemdescParam[0].tdesc = Leaf(VT_BSTR);
  wide.lprgelemdescParam[1].tdesc = Leaf(VT_I4);
  wide.lprgelemdescParam[1].paramdesc.wParamFlags = ParamFlag::In | ParamFlag::Opt | ParamFlag::HasDefault;
  auto ten = std::make_shared<ParamDescEx>();
  ten->varDefaultValue.vt = VT_I4;
  ten->varDefaultValue.intVal = 10;
  wide.lprgelemdescParam[1].paramdesc.pparamdescex = ten;
  FuncDesc narrow;
  narrow.memid = 8;
  narrow.cParams = 1;
  narrow.elemdescFunc.tdesc = Leaf(VT_VOID);
  narrow.lprgelemdescParam.resize(1);
  narrow.lprgelemdescParam[0].tdesc = Leaf(VT_I4);

  FuncModel w, n;
  AddFuncDesc(wide, &types, &params, &w);
  AddFuncDesc(narrow, &types, &params, &n);
  EXPECT_EQ(params.size(), 3u);
  EXPECT_EQ(params[n.firstParam].type, params[w.firstParam + 1].type) << "VT_I4 kept once";

  FuncDesc record;
  FillFuncDesc(w, params, types, &record);
  EXPECT_EQ(record.memid, 7);
  EXPECT_EQ(record.funckind, FUNC_DISPATCH);
  EXPECT_EQ(record.invkind, INVOKE_PROPERTYPUT);
  EXPECT_EQ(record.callconv, 1);
  EXPECT_EQ(record.cParamsOpt, 1);
  EXPECT_EQ(record.oVft, 28);
  EXPECT_EQ(record.wFuncFlags, 0x40);
  EXPECT_EQ(record.elemdescFunc.tdesc.vt, VT_HRESULT);
  EXPECT_EQ(record.elemdescFunc.paramdesc.wParamFlags, ParamFlag::Out);
  ASSERT_EQ(record.lprgelemdescParam.size(), 2u);
  EXPECT_EQ(record.lprgelemdescParam[1].paramdesc.pparamdescex, ten);

  FillFuncDesc(n, params, types, &record);
  EXPECT_EQ(record.memid, 8);
  EXPECT_EQ(record.funckind, FUNC_PUREVIRTUAL);
  EXPECT_EQ(record.invkind, INVOKE_FUNC);
  EXPECT_EQ(record.callconv, 4);
  EXPECT_EQ(record.cParams, 1);
  EXPECT_EQ(record.cParamsOpt, 0);
  EXPECT_EQ(record.oVft, 0);
  EXPECT_EQ(record.wFuncFlags, 0);
  EXPECT_EQ(record.elemdescFunc.tdesc.vt, VT_VOID);
  EXPECT_EQ(record.elemdescFunc.paramdesc.wParamFlags, 0);
  ASSERT_EQ(record.lprgelemdescParam.size(), 1u);
  EXPECT_EQ(record.lprgelemdescParam[0].tdesc.vt, VT_I4);
  EXPECT_EQ(record.lprgelemdescParam[0].paramdesc.wParamFlags, 0);
  EXPECT_FALSE(record.lprgelemdescParam[0].paramdesc.pparamdescex);
}

TEST(MemberIndex, FindsTheFirstPositionOfEachIdInAnyOrderOfAdding) {
  // In order; two runs in order (a dispatch view's inherited functions, then
  // its own); no order at all. Ids repeat (a property's get and put).
  const std::vector<std::vector<MEMBERID>> orders = {
      {1, 2, 2, 3, 7},
      {0x60000000, 0x60000001, 0x60000002, 1, 2, 2, 5},
      {3, 0x60000000, 0x60000001, 1, 3, 4},
      {9, -1, 4, 9, 0, 4, 4, 0x7FFFFFFF, -1},
  };
  for (const auto& ids : orders) {
    MemberIndex index;
    for (size_t i = 0; i < ids.size(); ++i) index.Add(ids[i], i);
    index.Seal();
    for (size_t i = 0; i < ids.size(); ++i) {
      const size_t first = static_cast<size_t>(std::find(ids.begin(), ids.end(), ids[i]) - ids.begin());
      EXPECT_EQ(index.Find(ids[i]), std::optional<size_t>(first)) << ids[i];
    }
    EXPECT_FALSE(index.Find(12345).has_value());
  }
  MemberIndex none;
  none.Seal();
  EXPECT_FALSE(none.Find(0).has_value());
}

}  // namespace
}  // namespace brannock::typelib::msft
