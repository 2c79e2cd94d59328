// The type library access layer: exactly the operations and description
// records that the renderer and the viewer's type tree need. The records
// mirror the SDK structures field by field (TYPEATTR.cFuncs is
// TypeAttr::cFuncs). Every failure is a 32-bit HRESULT-style code.
//
// Implementations: the oleaut32 adapter (Windows), the file reader (every
// platform) and the memory double of the tests. Records are plain values:
// an implementation copies what it obtained and releases its own copy at
// once, so callers have nothing to release. A call that succeeds sets every
// field of its record (and replaces the whole name list), so a caller may
// reuse one record for many calls; after a failure a record's contents are
// not to be used.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/guid.h"
#include "common/text.h"
#include "typelib/variant.h"

namespace brannock::typelib {

using HRESULT = int32_t;
inline bool Failed(HRESULT hr) { return hr < 0; }
inline bool Succeeded(HRESULT hr) { return hr >= 0; }

constexpr HRESULT S_OK_ = 0;

// Failure codes the system meets (the platform's numbers).
namespace Code {
constexpr HRESULT NotImpl = static_cast<HRESULT>(0x80004001);
constexpr HRESULT NoInterface = static_cast<HRESULT>(0x80004002);
constexpr HRESULT Pointer = static_cast<HRESULT>(0x80004003);
constexpr HRESULT Fail = static_cast<HRESULT>(0x80004005);
constexpr HRESULT AccessDenied = static_cast<HRESULT>(0x80070005);
constexpr HRESULT OutOfMemory = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT InvalidArg = static_cast<HRESULT>(0x80070057);
constexpr HRESULT FileNotFound = static_cast<HRESULT>(0x80070002);
constexpr HRESULT PathNotFound = static_cast<HRESULT>(0x80070003);
constexpr HRESULT DispBadVarType = static_cast<HRESULT>(0x80020008);
constexpr HRESULT DispTypeMismatch = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DispOverflow = static_cast<HRESULT>(0x8002000A);
constexpr HRESULT TypeElementNotFound = static_cast<HRESULT>(0x8002802B);
constexpr HRESULT TypeLibNotRegistered = static_cast<HRESULT>(0x8002801D);
constexpr HRESULT TypeInvalidState = static_cast<HRESULT>(0x80028029);
constexpr HRESULT TypeCantLoadLibrary = static_cast<HRESULT>(0x80029C4A);
constexpr HRESULT TypeIOError = static_cast<HRESULT>(0x80028CA2);
constexpr HRESULT TypeInvDataRead = static_cast<HRESULT>(0x80028018);
constexpr HRESULT TypeUnsupFormat = static_cast<HRESULT>(0x80028019);
constexpr HRESULT TypeBadModuleKind = static_cast<HRESULT>(0x800288BD);
constexpr HRESULT RegdbClassNotReg = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CoClassString = static_cast<HRESULT>(0x800401F3);
constexpr HRESULT MkUnavailable = static_cast<HRESULT>(0x800401E3);
}  // namespace Code

enum TypeKind : int32_t {
  TKIND_ENUM = 0,
  TKIND_RECORD = 1,
  TKIND_MODULE = 2,
  TKIND_INTERFACE = 3,
  TKIND_DISPATCH = 4,
  TKIND_COCLASS = 5,
  TKIND_ALIAS = 6,
  TKIND_UNION = 7,
};

namespace TypeFlag {
constexpr uint16_t AppObject = 0x1, CanCreate = 0x2, Licensed = 0x4, PreDeclId = 0x8, Hidden = 0x10,
                   Control = 0x20, Dual = 0x40, NonExtensible = 0x80, OleAutomation = 0x100,
                   Restricted = 0x200, Aggregatable = 0x400, Replaceable = 0x800, Dispatchable = 0x1000,
                   ReverseBind = 0x2000;
}

namespace ParamFlag {
constexpr uint16_t In = 0x01, Out = 0x02, Lcid = 0x04, RetVal = 0x08, Opt = 0x10, HasDefault = 0x20,
                   HasCustData = 0x40;
}

// IMPLTYPEFLAGS: how a coclass holds one of its implemented types.
namespace ImplTypeFlag {
constexpr int32_t Default = 0x1, Source = 0x2, Restricted = 0x4, DefaultVtable = 0x8;
}

enum InvokeKind : int32_t {
  INVOKE_FUNC = 1,
  INVOKE_PROPERTYGET = 2,
  INVOKE_PROPERTYPUT = 4,
  INVOKE_PROPERTYPUTREF = 8,
};

enum FuncKind : int32_t {
  FUNC_VIRTUAL = 0,
  FUNC_PUREVIRTUAL = 1,
  FUNC_NONVIRTUAL = 2,
  FUNC_STATIC = 3,
  FUNC_DISPATCH = 4,
};

enum VarKind : int32_t { VAR_PERINSTANCE = 0, VAR_STATIC = 1, VAR_CONST = 2, VAR_DISPATCH = 3 };

using HREFTYPE = uint32_t;
using MEMBERID = int32_t;
// The Windows headers define the same name as a macro of the same value.
#ifndef MEMBERID_NIL
constexpr MEMBERID MEMBERID_NIL = -1;
#endif

struct ArrayDesc;

struct TypeDesc {
  uint16_t vt = 0;
  std::shared_ptr<const TypeDesc> lptdesc;   // VT_PTR, VT_SAFEARRAY
  std::shared_ptr<const ArrayDesc> lpadesc;  // VT_CARRAY
  HREFTYPE hreftype = 0;                     // VT_USERDEFINED
};

struct SafeArrayBound {
  uint32_t cElements = 0;
  int32_t lLbound = 0;
};

struct ArrayDesc {
  TypeDesc tdescElem;
  uint16_t cDims = 0;
  std::vector<SafeArrayBound> rgbounds;
};

struct ParamDescEx {
  Variant varDefaultValue;
};

struct ParamDesc {
  std::shared_ptr<const ParamDescEx> pparamdescex;  // present with PARAMFLAG_FHASDEFAULT
  uint16_t wParamFlags = 0;
};

struct ElemDesc {
  TypeDesc tdesc;
  ParamDesc paramdesc;
};

struct TypeAttr {
  Guid guid;
  uint32_t lcid = 0;
  MEMBERID memidConstructor = MEMBERID_NIL;
  MEMBERID memidDestructor = MEMBERID_NIL;
  uint32_t cbSizeInstance = 0;
  TypeKind typekind = TKIND_ENUM;
  uint16_t cFuncs = 0;
  uint16_t cVars = 0;
  uint16_t cImplTypes = 0;
  uint16_t cbSizeVft = 0;
  uint16_t cbAlignment = 0;
  uint16_t wTypeFlags = 0;
  uint16_t wMajorVerNum = 0;
  uint16_t wMinorVerNum = 0;
  TypeDesc tdescAlias;  // TKIND_ALIAS
};

struct FuncDesc {
  MEMBERID memid = 0;
  std::vector<ElemDesc> lprgelemdescParam;
  FuncKind funckind = FUNC_PUREVIRTUAL;
  InvokeKind invkind = INVOKE_FUNC;
  int32_t callconv = 4;  // CC_STDCALL
  int16_t cParams = 0;
  int16_t cParamsOpt = 0;
  int16_t oVft = 0;
  ElemDesc elemdescFunc;
  uint16_t wFuncFlags = 0;
};

struct VarDesc {
  MEMBERID memid = 0;
  std::shared_ptr<const Variant> lpvarValue;  // VAR_CONST
  uint32_t oInst = 0;                         // other kinds
  ElemDesc elemdescVar;
  uint16_t wVarFlags = 0;
  VarKind varkind = VAR_PERINSTANCE;
};

// Documentation as GetDocumentation returns it; absent texts are empty.
struct Documentation {
  Text name;
  Text docString;
  uint32_t helpContext = 0;
  Text helpFile;
};

// The name and document string of GetDocumentation as views, for callers
// that read every member and keep none of the texts (the renderers).
struct DocumentationView {
  TextView name;
  TextView docString;
  uint32_t helpContext = 0;
};

class TypeLib;

class TypeInfo {
 public:
  virtual ~TypeInfo() = default;
  virtual HRESULT GetTypeAttr(TypeAttr* attr) = 0;
  virtual HRESULT GetFuncDesc(unsigned index, FuncDesc* desc) = 0;
  virtual HRESULT GetVarDesc(unsigned index, VarDesc* desc) = 0;
  // Element 0 the member's name, then one per parameter (possibly fewer);
  // at most maxNames names.
  virtual HRESULT GetNames(MEMBERID memid, TextList* names, unsigned maxNames) = 0;
  // memid -1 documents the type itself.
  virtual HRESULT GetDocumentation(MEMBERID memid, Documentation* doc) = 0;
  // GetNames and GetDocumentation as views. They stay valid until the next
  // call with the same `storage`, which holds copies where a reader does
  // not keep the texts itself (as by default); a reader that does hands out
  // views of its own, valid as long as its library.
  virtual HRESULT GetNameViews(MEMBERID memid, std::vector<TextView>* names, unsigned maxNames, TextList* storage) {
    const HRESULT hr = GetNames(memid, storage, maxNames);
    names->assign(storage->begin(), storage->end());
    return hr;
  }
  virtual HRESULT GetDocumentationViews(MEMBERID memid, DocumentationView* doc, Documentation* storage) {
    const HRESULT hr = GetDocumentation(memid, storage);
    *doc = {storage->name, storage->docString, storage->helpContext};
    return hr;
  }
  virtual HRESULT GetRefTypeOfImplType(unsigned index, HREFTYPE* href) = 0;
  virtual HRESULT GetRefTypeInfo(HREFTYPE href, std::shared_ptr<TypeInfo>* info) = 0;
  // The IMPLTYPEFLAGS of implemented type `index` ([default], [source], ...).
  virtual HRESULT GetImplTypeFlags(unsigned index, int32_t* flags) = 0;
  // The library that holds this type, and the type's index there: for a
  // type reached through a reference, the library it comes from.
  virtual HRESULT GetContainingTypeLib(std::shared_ptr<TypeLib>* lib, unsigned* index) = 0;
  // Where a function of a module lives: the DLL's name and the entry
  // point's name, or, for an entry point given by number, an empty name
  // and the number. A function without an entry point gives an empty name
  // and ordinal 0xFFFF. TYPE_E_BADMODULEKIND for a type that is no module.
  virtual HRESULT GetDllEntry(MEMBERID memid, InvokeKind invkind, Text* dllName, Text* entryName,
                              uint16_t* ordinal) = 0;
};

// TLIBATTR: the library's identity.
struct LibAttr {
  Guid guid;
  uint32_t lcid = 0;
  uint32_t syskind = 0;
  uint16_t wMajorVerNum = 0;
  uint16_t wMinorVerNum = 0;
  uint16_t wLibFlags = 0;
};

class TypeLib {
 public:
  virtual ~TypeLib() = default;
  virtual HRESULT GetLibAttr(LibAttr* attr) {
    *attr = LibAttr{};
    return Code::NotImpl;
  }
  virtual unsigned GetTypeInfoCount() = 0;
  // index -1 documents the library.
  virtual HRESULT GetDocumentation(int32_t index, Documentation* doc) = 0;
  virtual HRESULT GetTypeInfoType(unsigned index, TypeKind* kind) = 0;
  virtual HRESULT GetTypeInfo(unsigned index, std::shared_ptr<TypeInfo>* info) = 0;
  // The file the library was loaded from, as far as it can be known: the
  // file reader names the file it read (a Windows path when it found the
  // library through a registration or a Windows name); oleaut32 tells only
  // the registered file of the library's identity (QueryPathOfRegTypeLib),
  // TYPE_E_LIBNOTREGISTERED when there is none.
  virtual HRESULT GetLibraryFile(Text* path) = 0;
};

// The two loaders. lcid 0x0800 is the system default.
class TypeLibLoader {
 public:
  virtual ~TypeLibLoader() = default;
  virtual HRESULT LoadRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                                 std::shared_ptr<TypeLib>* lib) = 0;
  virtual HRESULT LoadTypeLib(const Text& fileName, std::shared_ptr<TypeLib>* lib) = 0;
  // Whether `fileName` names an existing file as LoadTypeLib would see it.
  // The default asks the host file system; a loader that maps Windows paths
  // to host files (a Wine prefix) answers through its mapping.
  virtual bool FileExists(const Text& fileName);
  // What the last failed load could not find, for a message beside the
  // failure code (the Windows path of a missing file, and how to map it to
  // a host folder); empty when there is nothing to add.
  virtual Text FailureDetail() const { return {}; }
  // The bytes of the file `fileName` names as LoadTypeLib would open it;
  // false when it cannot be read. The default reads the host file.
  virtual bool ReadLibraryFile(const Text& fileName, std::vector<uint8_t>* bytes);
};

}  // namespace brannock::typelib
