// The IDL rendering of a library built in code: every kind of type, the
// declarations a library block needs before it, literals and failures.
#include "typelib/idl_text.h"

#include <gtest/gtest.h>

#include "platform/messages.h"
#include "typelib/idl_library.h"
#include "typelib/idl_type_text.h"
#include "typelib/idl_value_text.h"

namespace brannock::typelib {
namespace {

using namespace testing;

// "@8002802B@" stands for the system's text of that failure code, which
// differs between platforms.
Text WithFailureTexts(Text line) {
  for (size_t at = line.find(u'@'); at != Text::npos; at = line.find(u'@')) {
    const size_t end = line.find(u'@', at + 1);
    const uint32_t code = static_cast<uint32_t>(std::stoul(Utf16ToUtf8(line.substr(at + 1, end - at - 1)), nullptr, 16));
    line.replace(at, end - at + 1, platform::ErrorCodeText(code));
  }
  return line;
}

TextList Render(TypeLib& lib, const Text& server = u"C:\\zoo.tlb") {
  UnitHeader header;
  header.fileName = server;
  TextList lines;
  TypeLibToIdl(header, lib, &lines);
  return lines;
}

TEST(TypeLibToIdl, EveryKindWithWhatTheLibraryBlockNeeds) {
  IdlLibrary l = MakeIdlLibrary();
  const TextList expected = {
      u"// typelib filename: C:\\zoo.tlb",
      u"",
      u"// Base types of OLE Automation, which an IDL compiler knows by their names.",
      u"typedef long HRESULT;",
      u"typedef wchar_t* BSTR;",
      u"typedef struct tagVARIANT { unsigned short vt; unsigned short wReserved1; unsigned short wReserved2; unsigned short wReserved3; hyper llVal; } VARIANT;",
      u"",
      u"// Types referred to before their definition.",
      u"interface IAnimal;",
      u"dispinterface DEvents;",
      u"",
      u"// Types of the imported libraries that this library refers to.",
      u"interface IUnknown;",
      u"[object, uuid(00000002-1234-5678-9ABC-000000000001)]",
      u"interface IUnknown {",
      u"    [id(0x60000000)] unsigned long AddRef();",
      u"};",
      u"typedef struct GUID {",
      u"    unsigned long Data1;",
      u"} GUID;",
      u"interface IDispatch;",
      u"",
      u"[",
      u"  uuid(6A1B2C3D-0000-4A5B-8C9D-0123456789AB),",
      u"  version(1.2),",
      u"  helpstring(\"Animals \\\"and\\\" keepers\"),",
      u"  helpfile(\"zoo.hlp\"),",
      u"  helpcontext(0x0000000a),",
      u"  lcid(0x00000409)",
      u"]",
      u"library Zoo",
      u"{",
      u"    importlib(\"stdole2.tlb\");",
      u"",
      u"    typedef [uuid(00000001-1234-5678-9ABC-000000000001), helpstring(\"Kinds of animal\")] enum Kinds {",
      u"        [helpstring(\"a cat\")] Cat = 0,",
      u"        Dog = -3",
      u"    } Kinds;",
      u"",
      u"    typedef [public] double Weight;",
      u"",
      u"    [local, object, uuid(00000002-1234-5678-9ABC-000000000001), oleautomation]",
      u"    interface IKeeper : IUnknown {",
      u"        [id(0x60010000)] HRESULT Feed([in] Kinds kind, [in] struct Pen pen, [in, optional, defaultvalue(\"say \\\"hi\\\"\\\\\")] BSTR note, [in] Weight* Param4, [out, retval] IAnimal** animal);",
      u"        [id(0x60010001), propget, helpstring(\"How many\")] HRESULT Count([out, retval] long* value);",
      u"        // @8002802B@",
      u"        [id(0x60010003), vararg] HRESULT Any([in] SAFEARRAY(VARIANT) items, [in] void* raw, [in] /* @8002802B@ */ void gone);",
      u"    };",
      u"",
      u"    typedef [uuid(00000003-1234-5678-9ABC-000000000001)] struct Pen {",
      u"        long legs;",
      u"        double size[4][2];",
      u"        GUID id;",
      u"    } Pen;",
      u"",
      u"    [object, uuid(00000004-1234-5678-9ABC-000000000001), helpstring(\"An animal\"), dual]",
      u"    interface IAnimal : IUnknown {",
      u"        [id(0x00000001), propget] HRESULT Name([out, retval] BSTR* name);",
      u"    };",
      u"",
      u"    // Weight is declared before the type that first refers to it.",
      u"",
      u"    [uuid(00000006-1234-5678-9ABC-000000000001), appobject]",
      u"    coclass ZooClass {",
      u"        [default] interface IKeeper;",
      u"        [default, source] dispinterface DEvents;",
      u"    };",
      u"",
      u"    [uuid(00000007-1234-5678-9ABC-000000000001), hidden]",
      u"    dispinterface DEvents {",
      u"        properties:",
      u"            [id(0x00000001), readonly] long Count;",
      u"        methods:",
      u"            [id(0x00000002)] void Fed([in] Kinds kind);",
      u"    };",
      u"",
      u"    [dllname(\"zoo.dll\"), uuid(00000008-1234-5678-9ABC-000000000001)]",
      u"    module Feeding {",
      u"        const long Meals = 3;",
      u"        [entry(\"StartFeeding\")] void __stdcall Start();",
      u"        [entry(7)] long __cdecl Stop();",
      u"    };",
      u"",
      u"    // @80029C4A@",
      u"",
      u"};",
  };
  const TextList lines = Render(*l.lib);
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], WithFailureTexts(expected[i])) << "line " << i;
}

}  // namespace
}  // namespace brannock::typelib
