#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "catalogue/catalogue.h"
#include "registry/registry_error.h"
#include "support/view_backend.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using brannock::testing::ViewBackend;

namespace {


TObjectData Record(const Text& G, TObjectType typ, const Text& name = u"N") {
  TObjectData r;
  r.Name = name;
  r.GUID = G;
  r.Typ = typ;
  return r;
}

}  // namespace

TEST(ResolveObjectClass, ReadsEveryDetailField) {
  MemoryStore s;
  const Text k = u"CLSID\\{C}";
  s.SetString(CR, k, u"", u"Class name");
  s.SetString(CR, k, u"AppID", u"{APP}");
  s.SetString(CR, k + u"\\InprocServer32", u"", u"%SystemRoot%\\System32\\x.dll");
  s.SetString(CR, k + u"\\TypeLib", u"", u"{LIB}");
  s.SetString(CR, k + u"\\Version", u"", u"2.5");
  s.SetString(CR, k + u"\\ProgID", u"", u"X.Class.1");
  s.SetString(CR, k + u"\\ToolBoxBitmap32", u"", u"x.dll,3");
  s.SetString(CR, k + u"\\DefaultIcon", u"", u"x.exe,1");

  Catalogue cat(s);
  cat.Environment = {u"SystemRoot=C:\\Windows"};
  TObjectData r = Record(u"{C}", TObjectType::otCLSID, u"Listed name");
  cat.ResolveObjectClass(u"{C}", r);
  EXPECT_EQ(r.CLSID, u"{C}");
  EXPECT_EQ(r.Server, u"C:\\Windows\\System32\\x.dll");
  EXPECT_EQ(r.AppId, u"{APP}");
  EXPECT_EQ(r.TypeLib, u"{LIB}");
  EXPECT_EQ(r.MajorVersion, 2u);
  EXPECT_EQ(r.MinorVersion, 5u);
  EXPECT_EQ(r.ProgId, u"X.Class.1");
  EXPECT_EQ(r.Bitmap, u"x.dll,3");
  EXPECT_EQ(r.DefaultIcon, u"x.exe,1");
  EXPECT_EQ(r.Name, u"Listed name");  // never changed by a resolution
  EXPECT_EQ(r.GUID, u"{C}");
  EXPECT_EQ(r.Typ, TObjectType::otCLSID);

  // A later resolution writes the missing parts as empty texts and 0, but a
  // server that is no longer found keeps the value it had.
  s.DeletePath(CR, k + u"\\Version");
  s.DeletePath(CR, k + u"\\ProgID");
  s.DeletePath(CR, k + u"\\InprocServer32");
  cat.ResolveObjectClass(u"{C}", r);
  EXPECT_EQ(r.MajorVersion, 0u);
  EXPECT_EQ(r.MinorVersion, 0u);
  EXPECT_EQ(r.ProgId, u"");
  EXPECT_EQ(r.Server, u"C:\\Windows\\System32\\x.dll");
  EXPECT_EQ(r.DefaultIcon, u"x.exe,1");
}

TEST(ResolveObjectClass, ServerSearchTakesTheFirstServerSubkey) {
  MemoryStore s;
  s.SetString(CR, u"CLSID\\{1}\\LocalServer32", u"", u"local.exe");
  s.SetString(CR, u"CLSID\\{1}\\InprocServer32", u"", u"inproc.dll");
  s.SetString(CR, u"CLSID\\{2}\\InprocHandler32", u"", u"ole32.dll");
  s.SetString(CR, u"CLSID\\{2}\\LocalServer32", u"", u"local2.exe");
  s.SetString(CR, u"CLSID\\{3}\\InprocHandler32", u"", u"ole32.dll");
  s.SetString(CR, u"CLSID\\{4}\\localserver", u"", u"old-style.exe");
  s.SetString(CR, u"CLSID\\{4}\\xServerx", u"", u"second.exe");
  s.CreatePath(CR, u"CLSID\\{5}\\InprocServer32");  // no default value

  Catalogue cat(s);
  auto server = [&](const Text& G, const Text& before = u"") {
    TObjectData r = Record(G, TObjectType::otCLSID);
    r.Server = before;
    cat.ResolveObjectClass(G, r);
    return r.Server;
  };
  EXPECT_EQ(server(u"{1}"), u"inproc.dll");   // enumerated before LocalServer32
  EXPECT_EQ(server(u"{2}"), u"local2.exe");   // InprocHandler32 does not match
  EXPECT_EQ(server(u"{3}"), u"");
  EXPECT_EQ(server(u"{3}", u"kept"), u"kept");
  EXPECT_EQ(server(u"{4}"), u"old-style.exe");
  EXPECT_EQ(server(u"{5}", u"old"), u"");     // a match with no value writes ""
  EXPECT_EQ(server(u"{missing}", u"kept"), u"kept");
}

TEST(ResolveObjectClass, ServerExpansionByStoredType) {
  MemoryStore s;
  s.SetString(CR, u"CLSID\\{Sz}\\InprocServer32", u"", u"%systemroot%\\x.dll");
  s.SetString(CR, u"CLSID\\{Backslash}\\InprocServer32", u"", u"\\SystemRoot\\System32\\x.dll");
  s.SetString(CR, u"CLSID\\{Expand}\\InprocServer32", u"", u"%test_sysroot%\\x.dll", RegType::ExpandSz);
  s.SetString(CR, u"CLSID\\{Home}\\InprocServer32", u"", u"C:\\HOMEWORK\\x.dll");
  s.SetWindowsEnvironment({u"SystemRoot=C:\\Windows", u"TEST_SYSROOT=D:\\Win"});
  // The host's variables never enter: a HOME of the host would rewrite
  // "\HOME..." by the backslash rule.
  const char* home = std::getenv("HOME");
  const std::string oldHome = home ? home : "";
  ::setenv("HOME", "/home/someone", 1);
  ::setenv("TEST_SYSROOT", "/host", 1);

  Catalogue cat(s);
  cat.CaptureEnvironment();
  EXPECT_EQ(cat.Environment, (TextList{u"SystemRoot=C:\\Windows", u"TEST_SYSROOT=D:\\Win"}));
  auto server = [&](const Text& G) {
    TObjectData r = Record(G, TObjectType::otCLSID);
    cat.ResolveObjectClass(G, r);
    return r.Server;
  };
  EXPECT_EQ(server(u"{Sz}"), u"%systemroot%\\x.dll");  // the list's search is case-sensitive
  EXPECT_EQ(server(u"{Backslash}"), u"C:\\Windows\\System32\\x.dll");
  EXPECT_EQ(server(u"{Expand}"), u"D:\\Win\\x.dll");  // the value text already expanded it
  EXPECT_EQ(server(u"{Home}"), u"C:\\HOMEWORK\\x.dll");
  ::unsetenv("TEST_SYSROOT");
  if (home) ::setenv("HOME", oldHome.c_str(), 1);
}

TEST(ResolveObjectClass, ErrorsInServerSearchPropagateLaterOnesStopQuietly) {
  MemoryStore s;
  s.SetBytes(CR, u"CLSID\\{Bad}\\LocalServer32", u"", RegType::Binary, Bytes(9000, 0));
  Catalogue cat(s);
  TObjectData bad = Record(u"{Bad}", TObjectType::otCLSID);
  EXPECT_THROW(cat.ResolveObjectClass(u"{Bad}", bad), RegistryError);
  EXPECT_EQ(bad.CLSID, u"{Bad}");

  s.SetString(CR, u"CLSID\\{C}", u"AppID", u"{APP}");
  s.SetBytes(CR, u"CLSID\\{C}\\TypeLib", u"", RegType::Binary, Bytes(8195, 0));
  s.SetString(CR, u"CLSID\\{C}\\ProgID", u"", u"New.ProgID");
  TObjectData r = Record(u"{C}", TObjectType::otCLSID);
  r.TypeLib = u"old lib";
  r.MajorVersion = 7;
  r.ProgId = u"Old.ProgID";
  EXPECT_NO_THROW(cat.ResolveObjectClass(u"{C}", r));
  EXPECT_EQ(r.AppId, u"{APP}");
  EXPECT_EQ(r.TypeLib, u"old lib");     // the failing read
  EXPECT_EQ(r.MajorVersion, 7u);        // and everything after it keep their values
  EXPECT_EQ(r.ProgId, u"Old.ProgID");
}

TEST(ResolveTypeLibrary, FirstVersionWin32File) {
  MemoryStore s;
  s.SetString(CR, u"TypeLib\\{L}\\1.0\\0\\win32", u"", u"C:\\lib10.tlb");
  s.SetString(CR, u"TypeLib\\{L}\\2.0\\0\\win32", u"", u"C:\\lib20.tlb");
  s.SetString(CR, u"TypeLib\\{W64}\\1.0\\0\\win64", u"", u"C:\\lib64.tlb");
  s.SetString(CR, u"TypeLib\\{Loc}\\1.0\\409\\win32", u"", u"C:\\english.tlb");
  s.CreatePath(CR, u"TypeLib\\{NoVersion}");

  Catalogue cat(s);
  auto resolve = [&](const Text& G, const Text& before = u"") {
    TObjectData r = Record(G, TObjectType::otTypeLib);
    r.Server = before;
    cat.ResolveTypeLibrary(G, r);
    EXPECT_EQ(r.TypeLib, G);
    EXPECT_EQ(r.CLSID, G);
    EXPECT_EQ(r.Name, u"N");
    return r.Server;
  };
  EXPECT_EQ(resolve(u"{L}"), u"C:\\lib10.tlb");
  EXPECT_EQ(resolve(u"{W64}", u"old"), u"");
  EXPECT_EQ(resolve(u"{Loc}"), u"");  // only locale 0 is looked at
  EXPECT_EQ(resolve(u"{NoVersion}", u"kept"), u"kept");
  EXPECT_EQ(resolve(u"{Missing}", u"kept"), u"kept");

  s.SetBytes(CR, u"TypeLib\\{Big}\\1.0\\0\\win32", u"", RegType::Binary, Bytes(8195, 1));
  TObjectData big = Record(u"{Big}", TObjectType::otTypeLib);
  EXPECT_THROW(cat.ResolveTypeLibrary(u"{Big}", big), RegistryError);
}

TEST(ResolveTypeLibrary, VersionsFromProcessViewFileFromNativeView) {
  ViewBackend b;
  b.redirected.SetString(CR, u"TypeLib\\{L}\\1.0\\0\\win32", u"", u"32.tlb");
  b.native.SetString(CR, u"TypeLib\\{L}\\2.0\\0\\win32", u"", u"native 2.0");
  b.native.SetString(CR, u"TypeLib\\{L}\\1.0\\0\\win32", u"", u"native 1.0");
  b.native.SetString(CR, u"TypeLib\\{L}\\0.9\\0\\win32", u"", u"native 0.9");
  Catalogue cat(b);
  TObjectData r = Record(u"{L}", TObjectType::otTypeLib);
  cat.ResolveTypeLibrary(u"{L}", r);
  EXPECT_EQ(r.Server, u"native 1.0");
  EXPECT_EQ(b.opens.front().access, 0x20019u);
  EXPECT_EQ(b.openKeys, 0);
}

TEST(ResolveInterface, EveryMatchingSubkeyLastWins) {
  MemoryStore s;
  const Text k = u"Interface\\{I}";
  s.SetString(CR, k + u"\\NumMethods", u"", u"7");
  s.SetString(CR, k + u"\\ProxyStubClsid", u"", u"{PS16}");
  s.SetString(CR, k + u"\\ProxyStubClsid32", u"", u"{PS32}");
  s.SetString(CR, k + u"\\TypeLib", u"", u"{LIB}");
  s.SetString(CR, k + u"\\TypeLib", u"Version", u"3.1a");  // hexadecimal, as registered
  s.SetString(CR, k + u"\\BaseInterface", u"", u"{BASE}");

  Catalogue cat(s);
  TObjectData r = Record(u"{I}", TObjectType::otInterface);
  cat.ResolveInterface(u"{I}", r);
  EXPECT_EQ(r.CLSID, u"{PS32}");
  EXPECT_EQ(r.TypeLib, u"{LIB}");
  EXPECT_EQ(r.MajorVersion, 3u);
  EXPECT_EQ(r.MinorVersion, 26u);
  EXPECT_EQ(r.Server, u"");
  EXPECT_EQ(r.Name, u"N");

  // A name holding both TYPELIB and CLSID counts as a type library subkey;
  // the last TYPELIB subkey wins, also when it has no version.
  MemoryStore t;
  t.SetString(CR, u"Interface\\{J}\\ATypeLib", u"", u"{FIRST}");
  t.SetString(CR, u"Interface\\{J}\\ATypeLib", u"Version", u"1.2");
  t.SetString(CR, u"Interface\\{J}\\CLSIDTypeLib", u"", u"{SECOND}");
  Catalogue cat2(t);
  TObjectData j = Record(u"{J}", TObjectType::otInterface);
  j.CLSID = u"before";
  cat2.ResolveInterface(u"{J}", j);
  EXPECT_EQ(j.TypeLib, u"{SECOND}");
  EXPECT_EQ(j.MajorVersion, 0u);
  EXPECT_EQ(j.CLSID, u"before");

  TObjectData missing = Record(u"{None}", TObjectType::otInterface);
  missing.TypeLib = u"kept";
  cat2.ResolveInterface(u"{None}", missing);
  EXPECT_EQ(missing.TypeLib, u"kept");

  t.SetBytes(CR, u"Interface\\{K}\\ProxyStubClsid32", u"", RegType::None, Bytes(8195, 0));
  TObjectData k2 = Record(u"{K}", TObjectType::otInterface);
  EXPECT_THROW(cat2.ResolveInterface(u"{K}", k2), RegistryError);
}

TEST(Resolve, DispatchesByKindAndLeavesAppIDsAlone) {
  MemoryStore s;
  s.SetString(CR, u"CLSID\\{G}\\ProgID", u"", u"P.1");
  s.SetString(CR, u"TypeLib\\{G}\\1.0\\0\\win32", u"", u"lib.tlb");
  s.SetString(CR, u"Interface\\{G}\\TypeLib", u"", u"{LIB}");
  s.SetString(CR, u"AppID\\{G}", u"", u"App");
  s.SetString(CR, u"AppID\\{G}", u"DllSurrogate", u"");
  Catalogue cat(s);

  TObjectData oc = Record(u"{G}", TObjectType::otCLSID);
  cat.Resolve(oc);
  EXPECT_EQ(oc.ProgId, u"P.1");
  EXPECT_EQ(oc.Server, u"");

  TObjectData tl = Record(u"{G}", TObjectType::otTypeLib);
  cat.Resolve(tl);
  EXPECT_EQ(tl.Server, u"lib.tlb");
  EXPECT_EQ(tl.ProgId, u"");

  TObjectData itf = Record(u"{G}", TObjectType::otInterface);
  cat.Resolve(itf);
  EXPECT_EQ(itf.TypeLib, u"{LIB}");
  EXPECT_EQ(itf.CLSID, u"");

  TObjectData app = Record(u"{G}", TObjectType::otAppID, u"App");
  const TObjectData before = app;
  cat.Resolve(app);
  EXPECT_EQ(app, before);
}
