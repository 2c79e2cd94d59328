// A registry for the analysis tests: the classes, interfaces, AppIDs and
// type library of the widl fixture shapes.tlb (tests/data/idl/shapes.idl)
// registered as an installer would, plus the odd cases around them.
#pragma once

#include "registry/memory_store.h"
#include "support/root_keys.h"

namespace brannock::analysis::testing {

// shapes.idl's library, coclasses and interfaces.
inline constexpr char16_t kShapeLib[] = u"{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}";
inline constexpr char16_t kIPlain[] = u"{6A1B2C3D-0006-4A5B-8C9D-0123456789AB}";
inline constexpr char16_t kIShape[] = u"{6A1B2C3D-0007-4A5B-8C9D-0123456789AB}";
inline constexpr char16_t kICircle[] = u"{6A1B2C3D-0008-4A5B-8C9D-0123456789AB}";
inline constexpr char16_t kDShapeEvents[] = u"{6A1B2C3D-0009-4A5B-8C9D-0123456789AB}";
inline constexpr char16_t kShape[] = u"{6A1B2C3D-000A-4A5B-8C9D-0123456789AB}";
inline constexpr char16_t kHidden[] = u"{6A1B2C3D-000B-4A5B-8C9D-0123456789AB}";
// Other objects of the registry.
inline constexpr char16_t kPSOAInterface[] = u"{00020424-0000-0000-C000-000000000046}";
inline constexpr char16_t kIDispatch[] = u"{00020400-0000-0000-C000-000000000046}";
inline constexpr char16_t kEmulator[] = u"{B4A26001-0000-4000-8000-000000000001}";
inline constexpr char16_t kAutoEmulator[] = u"{B4A26002-0000-4000-8000-000000000002}";
inline constexpr char16_t kSameFile[] = u"{B4A26003-0000-4000-8000-000000000003}";
inline constexpr char16_t kService[] = u"{B4A26020-0000-4000-8000-000000000020}";
inline constexpr char16_t kGoneLib[] = u"{B4A26010-0000-4000-8000-000000000010}";
inline constexpr char16_t kOrphan[] = u"{B4A26030-0000-4000-8000-000000000030}";

// `shapesFile` is the path registered for the library (win32 and win64).
inline void RegisterAnalysisFixtures(registry::MemoryStore& s, const Text& shapesFile) {
  auto set = [&](TextView path, TextView value, TextView name = u"") { s.SetString(HKCR, path, name, value); };
  const Text shapeKey = Text(u"CLSID\\") + kShape;
  set(shapeKey, u"Shape Object");
  set(shapeKey, kService, u"AppID");
  set(shapeKey + u"\\ProgID", u"Shapes.Shape.2");
  set(shapeKey + u"\\VersionIndependentProgID", u"Shapes.Shape");
  s.SetString(HKCR, shapeKey + u"\\InprocServer32", u"", u"%ProgramFiles%\\Shapes\\ShapeServer.dll",
              registry::RegType::ExpandSz);
  set(shapeKey + u"\\TypeLib", kShapeLib);
  set(u"Shapes.Shape.2", u"Shape Object");
  set(u"Shapes.Shape.2\\CLSID", kShape);
  // A class in the same server file, written another way.
  set(Text(u"CLSID\\") + kSameFile, u"Shape Helper");
  set(Text(u"CLSID\\") + kSameFile + u"\\InprocServer32", u"\"C:\\PROGRAM FILES\\Shapes\\shapeserver.DLL\"");
  set(Text(u"CLSID\\") + kSameFile + u"\\ProgID", u"Shapes.Helper.1");  // no key of its own
  // Emulation: TreatAs and AutoTreatAs naming the shape class.
  set(Text(u"CLSID\\") + kEmulator, u"Old Shape");
  set(Text(u"CLSID\\") + kEmulator + u"\\TreatAs", kShape);
  set(Text(u"CLSID\\") + kEmulator + u"\\LocalServer32", u"C:\\Old\\oldshape.exe /automation");
  set(Text(u"CLSID\\") + kAutoEmulator, u"Older Shape");
  set(Text(u"CLSID\\") + kAutoEmulator + u"\\AutoTreatAs", kShape);
  set(Text(u"CLSID\\") + kAutoEmulator + u"\\LocalServer32", u"C:\\Old\\OldShape.exe -Embedding");
  set(Text(u"CLSID\\") + kAutoEmulator + u"\\InprocHandler32", u"ole32.dll");
  // The proxy/stub class of automation interfaces.
  set(Text(u"CLSID\\") + kPSOAInterface, u"PSOAInterface");
  set(Text(u"CLSID\\") + kPSOAInterface + u"\\InprocServer32", u"C:\\windows\\system32\\oleaut32.dll");

  // The library, registered in two versions; 9.9 names a file that is not there.
  const Text libKey = Text(u"TypeLib\\") + kShapeLib;
  set(libKey + u"\\2.5", u"Shapes and colours");
  set(libKey + u"\\2.5\\0\\win32", shapesFile);
  set(libKey + u"\\2.5\\0\\win64", shapesFile);
  set(libKey + u"\\2.5\\FLAGS", u"0");
  set(libKey + u"\\2.5\\HELPDIR", u"C:\\help");
  set(libKey + u"\\9.9", u"Shapes of the future");
  set(libKey + u"\\9.9\\0\\win64", u"C:\\nowhere\\shapes99.tlb");

  // The interfaces; IPlain names a library that is not registered and a
  // base interface of its own.
  for (const char16_t* iid : {kIShape, kICircle, kDShapeEvents}) {
    const Text key = Text(u"Interface\\") + iid;
    set(key + u"\\ProxyStubClsid32", kPSOAInterface);
    set(key + u"\\TypeLib", kShapeLib);
    set(key + u"\\TypeLib", u"2.5", u"Version");
  }
  set(Text(u"Interface\\") + kIShape, u"IShape");
  set(Text(u"Interface\\") + kICircle, u"ICircle");
  set(Text(u"Interface\\") + kDShapeEvents, u"DShapeEvents");
  set(Text(u"Interface\\") + kIPlain, u"IPlain");
  set(Text(u"Interface\\") + kIPlain + u"\\TypeLib", kGoneLib);
  set(Text(u"Interface\\") + kIPlain + u"\\BaseInterface", u"{00000000-0000-0000-C000-000000000046}");
  set(Text(u"Interface\\") + kIPlain + u"\\ProxyStubClsid", kOrphan);
  set(Text(u"Interface\\") + kIDispatch, u"IDispatch");

  // The AppID of the shape class, its executable and service.
  set(Text(u"AppID\\") + kService, u"Shape Service");
  set(Text(u"AppID\\") + kService, u"ShapeSvc", u"LocalService");
  set(u"AppID\\shapehost.exe", kService, u"AppID");
}

}  // namespace brannock::analysis::testing
