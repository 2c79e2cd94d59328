// The demonstration library: an enumeration Colors (Red with a doc string,
// Green), a dual interface IShape handed out as a dispinterface (Name
// property get, Draw) whose interface view it implements, and a creatable
// coclass Shape implementing IShape.
#pragma once

#include "typelib/memory_typelib.h"

namespace brannock::typelib::testing {

inline std::shared_ptr<MemoryTypeLib> DemoLibrary() {
  auto lib = std::make_shared<MemoryTypeLib>(u"DemoLib", u"Demo types");
  auto colors = lib->AddType(TKIND_ENUM, u"Colors");
  colors->AddConstant(0, u"Red", Variant::Int(VT_I4, 0)).doc.docString = u"First color";
  colors->AddConstant(1, u"Green", Variant::Int(VT_I4, 1));
  auto shape = lib->AddType(TKIND_DISPATCH, u"IShape", u"", TypeFlag::Dual | TypeFlag::Dispatchable);
  shape->AddFunction(1, u"Name", Vt(VT_BSTR), {}, FUNC_DISPATCH, INVOKE_PROPERTYGET);
  shape->AddFunction(2, u"Draw", Vt(VT_VOID), {}, FUNC_DISPATCH);
  auto shapeInterface = lib->AddUnlistedType(TKIND_INTERFACE, u"IShape");
  shape->AddImplType(shapeInterface);
  auto coclass = lib->AddType(TKIND_COCLASS, u"Shape", u"", TypeFlag::CanCreate);
  coclass->AddImplType(shapeInterface);
  return lib;
}

}  // namespace brannock::typelib::testing
