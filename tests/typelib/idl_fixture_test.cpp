// The IDL of the widl fixtures: what their IDL files declare comes back in
// IDL (the round trip through widl itself is tests/scripts/idl_round_trip_test.sh).
#include <gtest/gtest.h>

#include <algorithm>

#include "typelib/idl_text.h"
#include "typelib/reader_fixtures.h"

namespace brannock::typelib {
namespace {

using namespace testing;

TextList IdlOf(const char* fixture) {
  auto lib = LoadFixture(fixture);
  TextList lines;
  if (lib) TypeLibToIdl(UnitHeader(), *lib, &lines);
  return lines;
}

bool Has(const TextList& lines, const Text& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

TEST(IdlFixture, ShapesAsDeclared) {
  REQUIRE_TLB_FIXTURES();
  const TextList lines = IdlOf("shapes.tlb");
  for (const Text& line : {
           Text(u"library ShapeLib"),
           Text(u"    importlib(\"stdole2.tlb\");"),
           Text(u"    typedef [public] SAFEARRAY(BSTR) NameList;"),
           Text(u"        short grid[3][2];"),
           Text(u"    [dllname(\"shapes.dll\"), uuid(6A1B2C3D-0005-4A5B-8C9D-0123456789AB), "
                u"helpstring(\"Module functions\")]"),
           Text(u"    interface ICircle : IShape {"),
           Text(u"        [id(0xfffffffc), restricted, hidden] HRESULT _NewEnum([out, retval] IUnknown** e);"),
           Text(u"        [id(0x00000003), propputref] HRESULT Font([in] IFontDisp* Param1);"),
           Text(u"            [id(0x00000002), readonly] BSTR Title;"),
           Text(u"        [default, source] dispinterface DShapeEvents;"),
           Text(u"    [uuid(6A1B2C3D-000B-4A5B-8C9D-0123456789AB), hidden, noncreatable]"),
           // IShape's base and IFontDisp come from stdole2.tlb.
           Text(u"interface IDispatch : IUnknown {"),
           Text(u"typedef [public] Font IFontDisp;"),
       })
    EXPECT_TRUE(Has(lines, line)) << Utf16ToUtf8(line);
}

TEST(IdlFixture, DispinterfacesInBothForms) {
  REQUIRE_TLB_FIXTURES();
  const TextList declared = IdlOf("dispatch_declared.tlb");
  EXPECT_TRUE(Has(declared, u"    dispinterface DWorker {"));
  EXPECT_TRUE(Has(declared, u"        interface IWorker;"));
  // Declared by a dual interface.
  const TextList forms = IdlOf("dispatch_forms.tlb");
  EXPECT_TRUE(Has(forms, u"        interface IPrinterHost;"));
  // Declared by its members.
  const TextList shapes = IdlOf("shapes.tlb");
  EXPECT_TRUE(Has(shapes, u"        properties:"));
  EXPECT_TRUE(Has(shapes, u"            [id(0x00000064)] void Moved([in] long x, [in] long y);"));
}

}  // namespace
}  // namespace brannock::typelib
