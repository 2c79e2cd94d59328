// Type libraries built in code: the memory double of the access layer. Every
// record and every result code can be set, so each rendering path (failed
// documentation, names, references, descriptions, type look-ups) can be
// reached. Header-only, so any test program can use it.
//
//   MemoryTypeLib lib(u"DemoLib");
//   auto colors = lib.AddType(TKIND_ENUM, u"Colors");
//   colors->AddConstant(0, u"Red", Variant::Int(VT_I4, 0));
//   auto shape = lib.AddType(TKIND_INTERFACE, u"IShape");
//   shape->AddFunction(1, u"Draw", Vt(VT_HRESULT));
//
// References between types are weak: the library owns its types, and a test
// that references a type outside any library keeps it alive itself.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "typelib/access.h"

namespace brannock::typelib::testing {

class MemoryTypeLib;

inline TypeDesc Vt(uint16_t vt) {
  TypeDesc d;
  d.vt = vt;
  return d;
}

inline TypeDesc Ptr(TypeDesc target) {
  TypeDesc d = Vt(VT_PTR);
  d.lptdesc = std::make_shared<const TypeDesc>(std::move(target));
  return d;
}

inline TypeDesc SafeArrayOf(TypeDesc element) {
  TypeDesc d = Vt(VT_SAFEARRAY);
  d.lptdesc = std::make_shared<const TypeDesc>(std::move(element));
  return d;
}

// A fixed array with one bound per element count (lower bounds `lowerBound`).
inline TypeDesc CArray(TypeDesc element, const std::vector<uint32_t>& counts, int32_t lowerBound = 0) {
  auto array = std::make_shared<ArrayDesc>();
  array->tdescElem = std::move(element);
  array->cDims = static_cast<uint16_t>(counts.size());
  for (uint32_t c : counts) array->rgbounds.push_back({c, lowerBound});
  TypeDesc d = Vt(VT_CARRAY);
  d.lpadesc = std::move(array);
  return d;
}

inline TypeDesc UserType(HREFTYPE href) {
  TypeDesc d = Vt(VT_USERDEFINED);
  d.hreftype = href;
  return d;
}

struct Param {
  Text name;
  TypeDesc type;
  uint16_t flags = 0;
  std::optional<Variant> defaultValue;  // sets PARAMFLAG_FHASDEFAULT's record
};

class MemoryTypeInfo : public TypeInfo {
 public:
  struct Function {
    FuncDesc desc;
    TextList names;  // as GetNames returns them
    Documentation doc;
    HRESULT descResult = 0, namesResult = 0, docResult = 0;
  };
  struct Variable {
    VarDesc desc;
    Documentation doc;
    HRESULT descResult = 0, docResult = 0;
  };

  TypeAttr attr;
  HRESULT attrResult = 0;
  Documentation doc;
  HRESULT docResult = 0;
  std::vector<Function> functions;
  std::vector<Variable> variables;
  std::vector<HREFTYPE> implTypes;
  std::vector<int32_t> implFlags;  // IMPLTYPEFLAGS, one per implemented type
  // A dual interface's interface view: implemented type -1.
  std::optional<HREFTYPE> interfaceView;
  HRESULT implResult = 0;
  // The library that lists the type (set by MemoryTypeLib::AddType) and
  // its index there; the library answers GetContainingTypeLib only while a
  // shared_ptr owns it.
  MemoryTypeLib* library = nullptr;
  unsigned libraryIndex = 0;
  // Module functions: the DLL, and per member id the entry point's name or
  // number.
  Text dllName;
  std::map<MEMBERID, std::pair<Text, uint16_t>> entries;
  std::map<HREFTYPE, std::weak_ptr<TypeInfo>> references;

  Function& AddFunction(MEMBERID memid, Text name, TypeDesc result, std::vector<Param> params = {},
                        FuncKind funckind = FUNC_PUREVIRTUAL, InvokeKind invkind = INVOKE_FUNC) {
    Function f;
    f.desc.memid = memid;
    f.desc.funckind = funckind;
    f.desc.invkind = invkind;
    f.desc.elemdescFunc.tdesc = std::move(result);
    f.desc.cParams = static_cast<int16_t>(params.size());
    f.names.push_back(name);
    f.doc.name = std::move(name);
    for (auto& p : params) {
      ElemDesc e;
      e.tdesc = std::move(p.type);
      e.paramdesc.wParamFlags = p.flags;
      if (p.defaultValue) {
        e.paramdesc.wParamFlags |= ParamFlag::HasDefault;
        e.paramdesc.pparamdescex = std::make_shared<const ParamDescEx>(ParamDescEx{*p.defaultValue});
      }
      f.desc.lprgelemdescParam.push_back(std::move(e));
      f.names.push_back(std::move(p.name));
    }
    functions.push_back(std::move(f));
    attr.cFuncs = static_cast<uint16_t>(functions.size());
    return functions.back();
  }

  Variable& AddField(MEMBERID memid, Text name, TypeDesc type, VarKind varkind = VAR_PERINSTANCE) {
    Variable v;
    v.desc.memid = memid;
    v.desc.varkind = varkind;
    v.desc.elemdescVar.tdesc = std::move(type);
    v.doc.name = std::move(name);
    variables.push_back(std::move(v));
    attr.cVars = static_cast<uint16_t>(variables.size());
    return variables.back();
  }

  // A constant; without a value its record holds no value at all.
  Variable& AddConstant(MEMBERID memid, Text name, std::optional<Variant> value) {
    Variable& v = AddField(memid, std::move(name), Vt(VT_I4), VAR_CONST);
    if (value) v.desc.lpvarValue = std::make_shared<const Variant>(std::move(*value));
    return v;
  }

  HREFTYPE AddReference(const std::shared_ptr<TypeInfo>& target) {
    HREFTYPE href = 0x100 + static_cast<HREFTYPE>(references.size()) * 4;
    references[href] = target;
    return href;
  }

  // An implemented type; a null target gives a reference that does not resolve.
  void AddImplType(const std::shared_ptr<TypeInfo>& target, int32_t flags = 0) {
    implTypes.push_back(target ? AddReference(target) : 0xDEAD);
    implFlags.push_back(flags);
    attr.cImplTypes = static_cast<uint16_t>(implTypes.size());
  }

  HRESULT GetTypeAttr(TypeAttr* out) override {
    if (Failed(attrResult)) return attrResult;
    *out = attr;
    return 0;
  }
  HRESULT GetFuncDesc(unsigned index, FuncDesc* out) override {
    if (index >= functions.size()) return Code::TypeElementNotFound;
    if (Failed(functions[index].descResult)) return functions[index].descResult;
    *out = functions[index].desc;
    return 0;
  }
  HRESULT GetVarDesc(unsigned index, VarDesc* out) override {
    if (index >= variables.size()) return Code::TypeElementNotFound;
    if (Failed(variables[index].descResult)) return variables[index].descResult;
    *out = variables[index].desc;
    return 0;
  }
  HRESULT GetNames(MEMBERID memid, TextList* names, unsigned maxNames) override {
    names->clear();
    for (const auto& f : functions)
      if (f.desc.memid == memid) {
        if (Failed(f.namesResult)) return f.namesResult;
        names->assign(f.names.begin(), f.names.begin() + std::min<size_t>(maxNames, f.names.size()));
        return 0;
      }
    for (const auto& v : variables)
      if (v.desc.memid == memid) {
        if (maxNames > 0) names->push_back(v.doc.name);
        return 0;
      }
    return Code::TypeElementNotFound;
  }
  HRESULT GetDocumentation(MEMBERID memid, Documentation* out) override {
    if (memid == MEMBERID_NIL) return Failed(docResult) ? docResult : (*out = doc, 0);
    for (const auto& v : variables)
      if (v.desc.memid == memid) return Failed(v.docResult) ? v.docResult : (*out = v.doc, 0);
    for (const auto& f : functions)
      if (f.desc.memid == memid) return Failed(f.docResult) ? f.docResult : (*out = f.doc, 0);
    return Code::TypeElementNotFound;
  }
  void SetInterfaceView(const std::shared_ptr<TypeInfo>& view) { interfaceView = AddReference(view); }

  HRESULT GetRefTypeOfImplType(unsigned index, HREFTYPE* href) override {
    if (Failed(implResult)) return implResult;
    if (index == static_cast<unsigned>(-1)) {
      if (!interfaceView) return Code::TypeElementNotFound;
      *href = *interfaceView;
      return 0;
    }
    if (index >= implTypes.size()) return Code::InvalidArg;
    *href = implTypes[index];
    return 0;
  }
  HRESULT GetRefTypeInfo(HREFTYPE href, std::shared_ptr<TypeInfo>* info) override {
    auto it = references.find(href);
    if (it == references.end()) return Code::TypeElementNotFound;
    *info = it->second.lock();
    return *info ? 0 : Code::TypeElementNotFound;
  }
  HRESULT GetImplTypeFlags(unsigned index, int32_t* flags) override {
    if (Failed(implResult)) return implResult;
    if (index >= implTypes.size()) return Code::InvalidArg;
    *flags = index < implFlags.size() ? implFlags[index] : 0;
    return 0;
  }
  inline HRESULT GetContainingTypeLib(std::shared_ptr<TypeLib>* lib, unsigned* index) override;
  HRESULT GetDllEntry(MEMBERID memid, InvokeKind invkind, Text* dll, Text* entryName, uint16_t* ordinal) override {
    if (attr.typekind != TKIND_MODULE) return Code::TypeBadModuleKind;
    for (const auto& f : functions) {
      if (f.desc.memid != memid || f.desc.invkind != invkind) continue;
      auto entry = entries.find(memid);
      *dll = dllName;
      *entryName = entry == entries.end() ? Text() : entry->second.first;
      *ordinal = entry == entries.end() ? 0xFFFF : entry->second.second;
      return 0;
    }
    return Code::TypeElementNotFound;
  }
};

class MemoryTypeLib : public TypeLib, public std::enable_shared_from_this<MemoryTypeLib> {
 public:
  struct Entry {
    std::shared_ptr<MemoryTypeInfo> info;
    TypeKind kind = TKIND_ENUM;  // what GetTypeInfoType says
    Documentation doc;           // what the library's GetDocumentation says
    HRESULT docResult = 0, kindResult = 0, infoResult = 0;
  };

  explicit MemoryTypeLib(Text name = u"MemoryLib", Text docString = {}, Text helpFile = {}) {
    doc.name = std::move(name);
    doc.docString = std::move(docString);
    doc.helpFile = std::move(helpFile);
  }

  Documentation doc;
  HRESULT docResult = 0;
  LibAttr libAttr;
  Text libraryFile;  // what GetLibraryFile answers; empty: not registered
  std::vector<Entry> types;
  // Types the library keeps alive without listing them: the interface view
  // of a dual interface, types of another library.
  std::vector<std::shared_ptr<MemoryTypeInfo>> unlisted;

  std::shared_ptr<MemoryTypeInfo> AddUnlistedType(TypeKind kind, Text name) {
    auto info = std::make_shared<MemoryTypeInfo>();
    info->attr.typekind = kind;
    info->doc.name = std::move(name);
    unlisted.push_back(info);
    return info;
  }

  // A type of the given kind; its GUID's first field is its position + 1.
  std::shared_ptr<MemoryTypeInfo> AddType(TypeKind kind, Text name, Text docString = {}, uint16_t flags = 0) {
    auto info = std::make_shared<MemoryTypeInfo>();
    info->attr.typekind = kind;
    info->attr.wTypeFlags = flags;
    info->attr.guid = Guid{static_cast<uint32_t>(types.size() + 1), 0x1234, 0x5678, {0x9A, 0xBC, 0, 0, 0, 0, 0, 1}};
    info->doc.name = name;
    info->doc.docString = docString;
    info->library = this;
    info->libraryIndex = static_cast<unsigned>(types.size());
    Entry e;
    e.info = info;
    e.kind = kind;
    e.doc = info->doc;
    types.push_back(std::move(e));
    return info;
  }

  HRESULT GetLibAttr(LibAttr* out) override {
    *out = libAttr;
    return 0;
  }
  HRESULT GetLibraryFile(Text* path) override {
    if (libraryFile.empty()) return Code::TypeLibNotRegistered;
    *path = libraryFile;
    return 0;
  }
  unsigned GetTypeInfoCount() override { return static_cast<unsigned>(types.size()); }
  HRESULT GetDocumentation(int32_t index, Documentation* out) override {
    if (index == -1) return Failed(docResult) ? docResult : (*out = doc, 0);
    if (index < 0 || static_cast<size_t>(index) >= types.size()) return Code::TypeElementNotFound;
    const Entry& e = types[index];
    return Failed(e.docResult) ? e.docResult : (*out = e.doc, 0);
  }
  HRESULT GetTypeInfoType(unsigned index, TypeKind* kind) override {
    if (index >= types.size()) return Code::TypeElementNotFound;
    return Failed(types[index].kindResult) ? types[index].kindResult : (*kind = types[index].kind, 0);
  }
  HRESULT GetTypeInfo(unsigned index, std::shared_ptr<TypeInfo>* info) override {
    if (index >= types.size()) return Code::TypeElementNotFound;
    return Failed(types[index].infoResult) ? types[index].infoResult : (*info = types[index].info, 0);
  }
};

HRESULT MemoryTypeInfo::GetContainingTypeLib(std::shared_ptr<TypeLib>* lib, unsigned* index) {
  std::shared_ptr<MemoryTypeLib> owner = library ? library->weak_from_this().lock() : nullptr;
  if (!owner) return Code::Fail;
  *lib = std::move(owner);
  *index = libraryIndex;
  return 0;
}

// A loader that hands out given libraries and records what it was asked.
class MemoryLoader : public TypeLibLoader {
 public:
  struct RegCall {
    Guid guid;
    uint16_t major, minor;
    uint32_t lcid;
  };
  std::shared_ptr<TypeLib> registered, fromFile;
  HRESULT regResult = Code::TypeLibNotRegistered, fileResult = Code::TypeCantLoadLibrary;
  TextList existingFiles;
  std::vector<RegCall> regCalls;
  TextList fileCalls;

  HRESULT LoadRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                         std::shared_ptr<TypeLib>* lib) override {
    regCalls.push_back({guid, major, minor, lcid});
    if (Succeeded(regResult)) *lib = registered;
    return regResult;
  }
  HRESULT LoadTypeLib(const Text& fileName, std::shared_ptr<TypeLib>* lib) override {
    fileCalls.push_back(fileName);
    if (Succeeded(fileResult)) *lib = fromFile;
    return fileResult;
  }
  bool FileExists(const Text& fileName) override {
    for (const auto& f : existingFiles)
      if (f == fileName) return true;
    return false;
  }
};

}  // namespace brannock::typelib::testing
