#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <vector>

#include "platform/win32/wide_text.h"
#include "typelib/oleaut32_adapter.h"

namespace brannock::typelib {

// Defined with the variant text conversion: a platform VARIANT as a Variant.
Variant VariantFromPlatform(const VARIANT& v);

namespace {

// Descriptors nested deeper than this are cut (read as VT_EMPTY); the
// renderer stops earlier anyway.
constexpr int kMaxCopyDepth = 1024;

Guid FromPlatform(const GUID& g) {
  Guid r;
  r.Data1 = g.Data1;
  r.Data2 = g.Data2;
  r.Data3 = g.Data3;
  std::memcpy(r.Data4.data(), g.Data4, 8);
  return r;
}

Text TakeBstr(BSTR s) {
  if (!s) return Text();
  Text text = platform::FromWide(s, SysStringLen(s));
  SysFreeString(s);
  return text;
}

// ITypeInfo::GetDocumentation and ITypeLib::GetDocumentation alike.
template <typename Source>
HRESULT CopyDocumentation(Source* source, int32_t id, Documentation* out) {
  BSTR name = nullptr, doc = nullptr, helpFile = nullptr;
  DWORD context = 0;
  HRESULT hr = source->GetDocumentation(id, &name, &doc, &context, &helpFile);
  Text n = TakeBstr(name), d = TakeBstr(doc), h = TakeBstr(helpFile);
  if (FAILED(hr)) return hr;
  *out = Documentation{std::move(n), std::move(d), context, std::move(h)};
  return hr;
}

TypeDesc CopyTypeDesc(const TYPEDESC& d, int depth = 0) {
  TypeDesc r;
  r.vt = d.vt;
  if (depth > kMaxCopyDepth) {
    r.vt = VT_EMPTY;
    return r;
  }
  switch (d.vt) {
    case VT_PTR:
    case VT_SAFEARRAY:
      if (d.lptdesc) r.lptdesc = std::make_shared<const TypeDesc>(CopyTypeDesc(*d.lptdesc, depth + 1));
      break;
    case VT_CARRAY:
      if (d.lpadesc) {
        auto array = std::make_shared<ArrayDesc>();
        array->tdescElem = CopyTypeDesc(d.lpadesc->tdescElem, depth + 1);
        array->cDims = d.lpadesc->cDims;
        for (USHORT i = 0; i < d.lpadesc->cDims; ++i)
          array->rgbounds.push_back({d.lpadesc->rgbounds[i].cElements, d.lpadesc->rgbounds[i].lLbound});
        r.lpadesc = std::move(array);
      }
      break;
    case VT_USERDEFINED: r.hreftype = d.hreftype; break;
    default: break;
  }
  return r;
}

ElemDesc CopyElemDesc(const ELEMDESC& e) {
  ElemDesc r;
  r.tdesc = CopyTypeDesc(e.tdesc);
  r.paramdesc.wParamFlags = e.paramdesc.wParamFlags;
  if ((e.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex)
    r.paramdesc.pparamdescex =
        std::make_shared<const ParamDescEx>(ParamDescEx{VariantFromPlatform(e.paramdesc.pparamdescex->varDefaultValue)});
  return r;
}

// The result of a call that hands out a type description.
HRESULT Adopted(HRESULT hr, ITypeInfo* info, std::shared_ptr<TypeInfo>* out) {
  if (FAILED(hr)) return hr;
  *out = AdoptTypeInfo(info);
  return *out ? hr : E_POINTER;
}

class OleTypeInfo : public TypeInfo {
 public:
  explicit OleTypeInfo(ITypeInfo* info) : info_(info) {}
  ~OleTypeInfo() override { info_->Release(); }
  OleTypeInfo(const OleTypeInfo&) = delete;
  OleTypeInfo& operator=(const OleTypeInfo&) = delete;

  HRESULT GetTypeAttr(TypeAttr* out) override {
    TYPEATTR* a = nullptr;
    HRESULT hr = info_->GetTypeAttr(&a);
    if (FAILED(hr)) return hr;
    out->guid = FromPlatform(a->guid);
    out->lcid = a->lcid;
    out->memidConstructor = a->memidConstructor;
    out->memidDestructor = a->memidDestructor;
    out->cbSizeInstance = a->cbSizeInstance;
    out->typekind = static_cast<TypeKind>(a->typekind);
    out->cFuncs = a->cFuncs;
    out->cVars = a->cVars;
    out->cImplTypes = a->cImplTypes;
    out->cbSizeVft = a->cbSizeVft;
    out->cbAlignment = a->cbAlignment;
    out->wTypeFlags = a->wTypeFlags;
    out->wMajorVerNum = a->wMajorVerNum;
    out->wMinorVerNum = a->wMinorVerNum;
    out->tdescAlias = a->typekind == ::TKIND_ALIAS ? CopyTypeDesc(a->tdescAlias) : TypeDesc();
    info_->ReleaseTypeAttr(a);
    return hr;
  }

  HRESULT GetFuncDesc(unsigned index, FuncDesc* out) override {
    FUNCDESC* f = nullptr;
    HRESULT hr = info_->GetFuncDesc(index, &f);
    if (FAILED(hr)) return hr;
    out->memid = f->memid;
    out->lprgelemdescParam.clear();
    for (SHORT i = 0; f->lprgelemdescParam && i < f->cParams; ++i)
      out->lprgelemdescParam.push_back(CopyElemDesc(f->lprgelemdescParam[i]));
    out->funckind = static_cast<FuncKind>(f->funckind);
    out->invkind = static_cast<InvokeKind>(f->invkind);
    out->callconv = f->callconv;
    out->cParams = f->cParams;
    out->cParamsOpt = f->cParamsOpt;
    out->oVft = f->oVft;
    out->elemdescFunc = CopyElemDesc(f->elemdescFunc);
    out->wFuncFlags = f->wFuncFlags;
    info_->ReleaseFuncDesc(f);
    return hr;
  }

  HRESULT GetVarDesc(unsigned index, VarDesc* out) override {
    VARDESC* v = nullptr;
    HRESULT hr = info_->GetVarDesc(index, &v);
    if (FAILED(hr)) return hr;
    out->memid = v->memid;
    out->varkind = static_cast<VarKind>(v->varkind);
    out->lpvarValue = nullptr;
    out->oInst = 0;
    if (v->varkind == ::VAR_CONST) {
      if (v->lpvarValue) out->lpvarValue = std::make_shared<const Variant>(VariantFromPlatform(*v->lpvarValue));
    } else {
      out->oInst = v->oInst;
    }
    out->elemdescVar = CopyElemDesc(v->elemdescVar);
    out->wVarFlags = v->wVarFlags;
    info_->ReleaseVarDesc(v);
    return hr;
  }

  HRESULT GetNames(MEMBERID memid, TextList* names, unsigned maxNames) override {
    // One buffer for every call: room for 65535 names is asked for each
    // function, and only the returned ones are touched.
    static thread_local std::vector<BSTR> buffer;
    if (buffer.size() < maxNames) buffer.resize(maxNames);
    UINT count = 0;
    names->clear();
    HRESULT hr = info_->GetNames(memid, buffer.data(), maxNames, &count);
    if (FAILED(hr)) return hr;
    for (UINT i = 0; i < count && i < maxNames; ++i) {
      names->push_back(TakeBstr(buffer[i]));
      buffer[i] = nullptr;
    }
    return hr;
  }

  HRESULT GetDocumentation(MEMBERID memid, Documentation* out) override {
    return CopyDocumentation(info_, memid, out);
  }

  HRESULT GetRefTypeOfImplType(unsigned index, HREFTYPE* href) override {
    ::HREFTYPE h = 0;
    HRESULT hr = info_->GetRefTypeOfImplType(index, &h);
    if (SUCCEEDED(hr)) *href = h;
    return hr;
  }

  HRESULT GetRefTypeInfo(HREFTYPE href, std::shared_ptr<TypeInfo>* out) override {
    ITypeInfo* referenced = nullptr;
    const HRESULT hr = info_->GetRefTypeInfo(href, &referenced);
    return Adopted(hr, referenced, out);
  }

  HRESULT GetImplTypeFlags(unsigned index, int32_t* flags) override {
    INT f = 0;
    const HRESULT hr = info_->GetImplTypeFlags(index, &f);
    if (SUCCEEDED(hr)) *flags = f;
    return hr;
  }

  HRESULT GetContainingTypeLib(std::shared_ptr<TypeLib>* lib, unsigned* index) override {
    ITypeLib* containing = nullptr;
    UINT i = 0;
    const HRESULT hr = info_->GetContainingTypeLib(&containing, &i);
    if (FAILED(hr)) return hr;
    *lib = AdoptTypeLib(containing);
    *index = i;
    return *lib ? hr : E_POINTER;
  }

  HRESULT GetDllEntry(MEMBERID memid, InvokeKind invkind, Text* dllName, Text* entryName,
                      uint16_t* ordinal) override {
    BSTR dll = nullptr, entry = nullptr;
    WORD number = 0;
    const HRESULT hr = info_->GetDllEntry(memid, static_cast<::INVOKEKIND>(invkind), &dll, &entry, &number);
    Text d = TakeBstr(dll), e = TakeBstr(entry);
    if (FAILED(hr)) return hr;
    *dllName = std::move(d);
    *entryName = std::move(e);
    *ordinal = entryName->empty() ? number : 0;
    return hr;
  }

 private:
  ITypeInfo* info_;
};

class OleTypeLib : public TypeLib {
 public:
  explicit OleTypeLib(ITypeLib* lib) : lib_(lib) {}
  ~OleTypeLib() override { lib_->Release(); }
  OleTypeLib(const OleTypeLib&) = delete;
  OleTypeLib& operator=(const OleTypeLib&) = delete;

  unsigned GetTypeInfoCount() override { return lib_->GetTypeInfoCount(); }

  HRESULT GetLibAttr(LibAttr* out) override {
    *out = LibAttr{};
    ::TLIBATTR* attr = nullptr;
    const HRESULT hr = lib_->GetLibAttr(&attr);
    if (FAILED(hr) || !attr) return FAILED(hr) ? hr : E_POINTER;
    out->guid = FromPlatform(attr->guid);
    out->lcid = attr->lcid;
    out->syskind = static_cast<uint32_t>(attr->syskind);
    out->wMajorVerNum = attr->wMajorVerNum;
    out->wMinorVerNum = attr->wMinorVerNum;
    out->wLibFlags = attr->wLibFlags;
    lib_->ReleaseTLibAttr(attr);
    return S_OK;
  }

  HRESULT GetDocumentation(int32_t index, Documentation* out) override {
    return CopyDocumentation(lib_, index, out);
  }

  HRESULT GetTypeInfoType(unsigned index, TypeKind* kind) override {
    ::TYPEKIND k = ::TKIND_ENUM;
    HRESULT hr = lib_->GetTypeInfoType(index, &k);
    if (SUCCEEDED(hr)) *kind = static_cast<TypeKind>(k);
    return hr;
  }

  HRESULT GetTypeInfo(unsigned index, std::shared_ptr<TypeInfo>* out) override {
    ITypeInfo* info = nullptr;
    const HRESULT hr = lib_->GetTypeInfo(index, &info);
    return Adopted(hr, info, out);
  }

  HRESULT GetLibraryFile(Text* path) override {
    ::TLIBATTR* attr = nullptr;
    HRESULT hr = lib_->GetLibAttr(&attr);
    if (FAILED(hr) || !attr) return FAILED(hr) ? hr : E_POINTER;
    BSTR file = nullptr;
    hr = QueryPathOfRegTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, &file);
    lib_->ReleaseTLibAttr(attr);
    Text text = TakeBstr(file);
    if (SUCCEEDED(hr)) *path = std::move(text);
    return hr;
  }

 private:
  ITypeLib* lib_;
};

}  // namespace

std::shared_ptr<TypeLib> AdoptTypeLib(ITypeLib* lib) {
  return lib ? std::make_shared<OleTypeLib>(lib) : nullptr;
}

std::shared_ptr<TypeInfo> AdoptTypeInfo(ITypeInfo* info) {
  return info ? std::make_shared<OleTypeInfo>(info) : nullptr;
}

}  // namespace brannock::typelib
