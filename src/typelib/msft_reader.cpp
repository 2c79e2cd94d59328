#include "typelib/msft_reader.h"

#include "typelib/msft_library.h"
#include "typelib/msft_records.h"
#include "typelib/sltg_parser.h"

namespace brannock::typelib {
namespace msft {
namespace {

const FuncModel* FindFunc(const TypeModel& type, MEMBERID memid) {
  auto found = type.funcByMemid.Find(memid);
  return found ? &type.funcs[*found] : nullptr;
}

const FuncModel* FindFunc(const DispatchView& view, MEMBERID memid) {
  auto found = view.funcByMemid.Find(memid);
  return found ? &view.funcs[*found].model : nullptr;
}

const VarModel* FindVar(const TypeModel& type, MEMBERID memid) {
  auto found = type.varByMemid.Find(memid);
  return found ? &type.vars[*found] : nullptr;
}

class MsftTypeInfo : public TypeInfo {
 public:
  // The core owns its type infos; callers hold them through pointers that
  // share the ownership of the core.
  MsftTypeInfo(LibCore* core, size_t index, View view) : core_(core), index_(index), view_(view) {}

  HRESULT GetTypeAttr(TypeAttr* attr) override;
  HRESULT GetFuncDesc(unsigned index, FuncDesc* desc) override;
  HRESULT GetVarDesc(unsigned index, VarDesc* desc) override;
  HRESULT GetNames(MEMBERID memid, TextList* names, unsigned maxNames) override;
  HRESULT GetDocumentation(MEMBERID memid, Documentation* doc) override;
  HRESULT GetNameViews(MEMBERID memid, std::vector<TextView>* names, unsigned maxNames, TextList* storage) override;
  HRESULT GetDocumentationViews(MEMBERID memid, DocumentationView* doc, Documentation* storage) override;
  HRESULT GetRefTypeOfImplType(unsigned index, HREFTYPE* href) override;
  HRESULT GetRefTypeInfo(HREFTYPE href, std::shared_ptr<TypeInfo>* info) override;
  HRESULT GetImplTypeFlags(unsigned index, int32_t* flags) override;
  HRESULT GetContainingTypeLib(std::shared_ptr<TypeLib>* lib, unsigned* index) override;
  HRESULT GetDllEntry(MEMBERID memid, InvokeKind invkind, Text* dllName, Text* entryName,
                      uint16_t* ordinal) override;

 private:
  const TypeModel& Type() const { return core_->model.types[index_]; }
  bool IsDispatchOfDual() const { return view_ == View::Default && Type().IsDual(); }
  // The dispatch view of a dual interface or of a dispinterface declared by
  // an interface: functions gathered from the interface chain.
  bool HasDispatchView() const {
    return IsDispatchOfDual() || Type().IsDeclaredByInterface(core_->model.dispatchHref);
  }
  const DispatchView* ViewOrNull() const { return HasDispatchView() ? &core_->DispatchViewOf(index_) : nullptr; }
  // A function's names (with its parameters') or a variable's name; false
  // when no member has that id.
  bool MemberNames(MEMBERID memid, TextViews* names) const;
  bool MemberDocumentation(MEMBERID memid, DocumentationView* doc) const;
  // The first function of that id, or null. The last answer is kept: a
  // renderer asks for a function's names and then for its documentation.
  const FuncModel* FuncOfId(MEMBERID memid) const;

  LibCore* core_;
  size_t index_;
  View view_;
  mutable bool hasLast_ = false;
  mutable MEMBERID lastId_ = 0;
  mutable const FuncModel* lastFunc_ = nullptr;
};

HRESULT MsftTypeInfo::GetTypeAttr(TypeAttr* attr) {
  if (Failed(Type().unreadable)) return Type().unreadable;
  const TypeModel& t = Type();
  *attr = TypeAttr{};
  attr->guid = t.guid;
  attr->lcid = core_->model.typeLcid;
  attr->cbSizeInstance = t.instanceSize;
  attr->typekind = t.kind;
  attr->cFuncs = static_cast<uint16_t>(t.funcs.size());
  attr->cVars = static_cast<uint16_t>(t.vars.size());
  attr->cImplTypes = t.implTypeCount;
  attr->cbSizeVft = t.vtableSize;
  attr->cbAlignment = t.alignment;
  attr->wTypeFlags = t.flags;
  attr->wMajorVerNum = t.majorVersion;
  attr->wMinorVerNum = t.minorVersion;
  attr->tdescAlias = t.aliasType;
  const auto dispatchVtable = static_cast<uint16_t>(7 * core_->model.PointerSize());
  if (HasDispatchView()) {
    attr->cFuncs = static_cast<uint16_t>(core_->DispatchViewOf(index_).funcs.size());
    attr->cImplTypes = 1;
    attr->cbSizeVft = dispatchVtable;
    attr->wTypeFlags = t.flags & ~TypeFlag::OleAutomation;
  } else if (view_ == View::InterfaceOfDual) {
    attr->typekind = TKIND_INTERFACE;
  } else if (t.kind == TKIND_DISPATCH) {
    attr->cbSizeVft = dispatchVtable;
  }
  return S_OK_;
}

HRESULT MsftTypeInfo::GetFuncDesc(unsigned index, FuncDesc* desc) {
  if (Failed(Type().unreadable)) return Type().unreadable;
  if (const DispatchView* view = ViewOrNull()) {
    if (index >= view->funcs.size() || !view->funcs[index].present) return Code::TypeElementNotFound;
    FillFuncDesc(view->funcs[index].model, view->params, core_->model.memberTypes, desc);
    return S_OK_;
  }
  if (index >= Type().funcs.size()) return Code::TypeElementNotFound;
  FillFuncDesc(Type().funcs[index], core_->model.params, core_->model.memberTypes, desc);
  return S_OK_;
}

HRESULT MsftTypeInfo::GetVarDesc(unsigned index, VarDesc* desc) {
  if (Failed(Type().unreadable)) return Type().unreadable;
  if (index >= Type().vars.size()) return Code::TypeElementNotFound;
  *desc = Type().vars[index].desc;
  return S_OK_;
}

// Assigned over what `names` held, so that a list reused by the caller
// keeps its storage.
void AssignNames(TextViews from, size_t count, TextList* names) {
  names->resize(count);
  for (size_t i = 0; i < count; ++i) (*names)[i].assign(from[i]);
}

const FuncModel* MsftTypeInfo::FuncOfId(MEMBERID memid) const {
  if (hasLast_ && lastId_ == memid) return lastFunc_;
  const DispatchView* view = ViewOrNull();
  const FuncModel* f = view ? FindFunc(*view, memid) : FindFunc(Type(), memid);
  hasLast_ = true;
  lastId_ = memid;
  lastFunc_ = f;
  return f;
}

bool MsftTypeInfo::MemberNames(MEMBERID memid, TextViews* names) const {
  if (const FuncModel* f = FuncOfId(memid)) {
    *names = f->names;
    return true;
  }
  if (const VarModel* v = FindVar(Type(), memid)) {
    *names = TextViews(&v->name, 1);
    return true;
  }
  return false;
}

bool MsftTypeInfo::MemberDocumentation(MEMBERID memid, DocumentationView* doc) const {
  if (const FuncModel* f = FuncOfId(memid)) {
    *doc = {f->names.empty() ? TextView() : f->names[0], f->docString, f->helpContext};
    return true;
  }
  if (const VarModel* v = FindVar(Type(), memid)) {
    *doc = {v->name, v->docString, v->helpContext};
    return true;
  }
  *doc = DocumentationView{};
  return false;
}

HRESULT MsftTypeInfo::GetNames(MEMBERID memid, TextList* names, unsigned maxNames) {
  TextViews found;
  if (!MemberNames(memid, &found)) {
    names->clear();
    return Code::TypeElementNotFound;
  }
  AssignNames(found, std::min<size_t>(found.size(), maxNames), names);
  return S_OK_;
}

// The names and texts of members as views of the library's text store.
HRESULT MsftTypeInfo::GetNameViews(MEMBERID memid, std::vector<TextView>* names, unsigned maxNames, TextList*) {
  TextViews found;
  if (!MemberNames(memid, &found)) {
    names->clear();
    return Code::TypeElementNotFound;
  }
  names->assign(found.begin(), found.begin() + static_cast<ptrdiff_t>(std::min<size_t>(found.size(), maxNames)));
  return S_OK_;
}

HRESULT MsftTypeInfo::GetDocumentationViews(MEMBERID memid, DocumentationView* doc, Documentation* storage) {
  if (memid == MEMBERID_NIL) return TypeInfo::GetDocumentationViews(memid, doc, storage);
  return MemberDocumentation(memid, doc) ? S_OK_ : Code::TypeElementNotFound;
}

HRESULT MsftTypeInfo::GetDocumentation(MEMBERID memid, Documentation* doc) {
  // Field by field, so that a record reused by the caller keeps its storage.
  if (memid == MEMBERID_NIL) {
    core_->TypeDocumentation(index_, doc);
    return S_OK_;
  }
  DocumentationView found;
  if (!MemberDocumentation(memid, &found)) {
    *doc = Documentation{};
    return Code::TypeElementNotFound;
  }
  doc->name.assign(found.name);
  doc->docString.assign(found.docString);
  doc->helpContext = found.helpContext;
  doc->helpFile = core_->model.helpFile;
  return S_OK_;
}

HRESULT MsftTypeInfo::GetRefTypeOfImplType(unsigned index, HREFTYPE* href) {
  if (Failed(Type().unreadable)) return Type().unreadable;
  const TypeModel& t = Type();
  if (index == static_cast<unsigned>(-1)) {
    if (!IsDispatchOfDual()) return Code::TypeElementNotFound;
    *href = t.href | kInterfaceViewBit;
    return S_OK_;
  }
  if (t.kind == TKIND_COCLASS) {
    if (index >= t.implTypes.size()) return Code::TypeElementNotFound;
    *href = t.implTypes[index].href;
    return S_OK_;
  }
  if (index != 0 || t.implTypeCount == 0) return Code::TypeElementNotFound;
  if (t.kind == TKIND_DISPATCH && view_ == View::Default) {
    if (core_->model.dispatchHref == -1) return Code::TypeElementNotFound;
    *href = static_cast<HREFTYPE>(core_->model.dispatchHref);
    return S_OK_;
  }
  if ((t.kind != TKIND_INTERFACE && t.kind != TKIND_DISPATCH) || t.baseHref == -1) return Code::TypeElementNotFound;
  *href = static_cast<HREFTYPE>(t.baseHref);
  // The base of an interface is the interface view of a dual base.
  if ((*href & 3) == 0) {
    auto local = core_->model.typeByHref.find(*href);
    if (local != core_->model.typeByHref.end() && core_->model.types[local->second].IsDual())
      *href |= kInterfaceViewBit;
  }
  return S_OK_;
}

HRESULT MsftTypeInfo::GetRefTypeInfo(HREFTYPE href, std::shared_ptr<TypeInfo>* info) {
  if ((href & 3) == kForeignRefBits) {
    if (!HasDispatchView()) return Code::TypeElementNotFound;
    const DispatchView& view = core_->DispatchViewOf(index_);
    const size_t i = href >> 2;
    if (i >= view.foreignRefs.size()) return Code::TypeElementNotFound;
    return view.foreignRefs[i].first->GetRefTypeInfo(view.foreignRefs[i].second, info);
  }
  return core_->ResolveHref(href, info);
}

HRESULT MsftTypeInfo::GetImplTypeFlags(unsigned index, int32_t* flags) {
  if (Failed(Type().unreadable)) return Type().unreadable;
  const TypeModel& t = Type();
  if (t.kind == TKIND_COCLASS) {
    if (index >= t.implTypes.size()) return Code::TypeElementNotFound;
    *flags = static_cast<int32_t>(t.implTypes[index].flags);
    return S_OK_;
  }
  // The base of an interface, IDispatch under a dispinterface, the
  // interface view of a dual: implemented without flags.
  HREFTYPE href = 0;
  const HRESULT hr = GetRefTypeOfImplType(index, &href);
  if (Succeeded(hr)) *flags = 0;
  return hr;
}

HRESULT MsftTypeInfo::GetDllEntry(MEMBERID memid, InvokeKind invkind, Text* dllName, Text* entryName,
                                  uint16_t* ordinal) {
  if (Failed(Type().unreadable)) return Type().unreadable;
  const TypeModel& t = Type();
  if (t.kind != TKIND_MODULE) return Code::TypeBadModuleKind;
  for (const FuncModel& f : t.funcs) {
    if (f.memid != memid || f.invkind != invkind) continue;
    *dllName = t.dllName;
    entryName->assign(f.entryName);
    *ordinal = f.entryName.empty() ? f.entryOrdinal : 0;
    return S_OK_;
  }
  return Code::TypeElementNotFound;
}

class MsftTypeLib : public TypeLib {
 public:
  explicit MsftTypeLib(std::shared_ptr<LibCore> core) : core_(std::move(core)) {}

  unsigned GetTypeInfoCount() override { return static_cast<unsigned>(core_->model.types.size()); }

  HRESULT GetLibAttr(LibAttr* attr) override {
    const LibModel& m = core_->model;
    *attr = LibAttr{};
    attr->guid = m.libid;
    // The library's locale (its lcid attribute) is the header's second one,
    // as its types report; the first is that of its names and texts.
    attr->lcid = m.typeLcid;
    attr->syskind = m.syskind;
    attr->wMajorVerNum = m.majorVersion;
    attr->wMinorVerNum = m.minorVersion;
    attr->wLibFlags = m.libFlags;
    return S_OK_;
  }

  HRESULT GetDocumentation(int32_t index, Documentation* doc) override {
    *doc = Documentation{};
    const LibModel& m = core_->model;
    if (index == -1) {
      doc->name = m.name;
      doc->docString = m.docString;
      doc->helpContext = m.helpContext;
      doc->helpFile = m.helpFile;
      return S_OK_;
    }
    if (index < 0 || static_cast<size_t>(index) >= m.types.size()) return Code::TypeElementNotFound;
    core_->TypeDocumentation(static_cast<size_t>(index), doc);
    return S_OK_;
  }

  HRESULT GetTypeInfoType(unsigned index, TypeKind* kind) override {
    if (index >= core_->model.types.size()) return Code::TypeElementNotFound;
    *kind = core_->model.types[index].kind;
    return S_OK_;
  }

  HRESULT GetTypeInfo(unsigned index, std::shared_ptr<TypeInfo>* info) override {
    if (index >= core_->model.types.size()) return Code::TypeElementNotFound;
    *info = core_->MakeTypeInfo(index, View::Default);
    return S_OK_;
  }

  HRESULT GetLibraryFile(Text* path) override {
    if (core_->libraryFile.empty()) return Code::TypeLibNotRegistered;
    *path = core_->libraryFile;
    return S_OK_;
  }

  HRESULT GetTypeInfoOfGuid(const Guid& guid, std::shared_ptr<TypeInfo>* info) {
    auto found = core_->typeByGuid.find(guid);
    if (found == core_->typeByGuid.end()) return Code::TypeElementNotFound;
    *info = core_->MakeTypeInfo(found->second, View::Default);
    return S_OK_;
  }

  void SetLibraryFile(Text path) { core_->libraryFile = std::move(path); }

 private:
  std::shared_ptr<LibCore> core_;
};

HRESULT MsftTypeInfo::GetContainingTypeLib(std::shared_ptr<TypeLib>* lib, unsigned* index) {
  *lib = std::make_shared<MsftTypeLib>(core_->shared_from_this());
  *index = static_cast<unsigned>(index_);
  return S_OK_;
}

}  // namespace

std::shared_ptr<TypeInfo> LibCore::MakeTypeInfo(size_t index, View view) {
  if (view == View::InterfaceOfDual && !model.types[index].IsDual()) view = View::Default;
  auto& slot = typeInfos[view == View::InterfaceOfDual ? 1 : 0][index];
  if (!slot) slot = std::make_unique<MsftTypeInfo>(this, index, view);
  return std::shared_ptr<TypeInfo>(shared_from_this(), slot.get());
}

void LibCore::TypeDocumentation(size_t index, Documentation* doc) const {
  const TypeModel& t = model.types[index];
  doc->name = t.name;
  doc->docString = t.docString;
  doc->helpContext = t.helpContext;
  doc->helpFile = model.helpFile;
}

HRESULT LibCore::ImportedLibrary(size_t index, std::shared_ptr<TypeLib>* lib) {
  auto& slot = importedLibs[index];
  if (!slot) {
    std::shared_ptr<TypeLib> loaded;
    HRESULT hr = resolver ? resolver(model.imports[index], &loaded) : Code::TypeLibNotRegistered;
    if (Succeeded(hr) && !loaded) hr = Code::TypeCantLoadLibrary;
    slot.emplace(hr, std::move(loaded));
  }
  *lib = slot->second;
  return slot->first;
}

HRESULT LibCore::ResolveHref(HREFTYPE href, std::shared_ptr<TypeInfo>* info) {
  if ((href & 3) == 0 || (href & 3) == kInterfaceViewBit) {
    auto local = model.typeByHref.find(href & ~HREFTYPE{3});
    if (local == model.typeByHref.end()) return Code::TypeElementNotFound;
    *info = MakeTypeInfo(local->second, (href & 3) == kInterfaceViewBit ? View::InterfaceOfDual : View::Default);
    return S_OK_;
  }
  if ((href & 3) != 1) return Code::TypeElementNotFound;
  auto imported = model.importedTypes.find(href);
  if (imported == model.importedTypes.end()) return Code::TypeElementNotFound;
  std::shared_ptr<TypeLib> lib;
  const HRESULT hr = ImportedLibrary(imported->second.library, &lib);
  if (Failed(hr)) return hr;
  if (imported->second.byGuid) return FindTypeInfoOfGuid(*lib, imported->second.guid, info);
  return lib->GetTypeInfo(imported->second.index, info);
}

const DispatchView& LibCore::DispatchViewOf(size_t index) {
  if (!dispatchViews[index]) dispatchViews[index] = std::make_shared<DispatchView>(BuildDispatchView(*this, index));
  return *dispatchViews[index];
}

}  // namespace msft

namespace {

// Serves a parsed library through the access layer.
void ServeLibModel(std::shared_ptr<msft::LibCore> core, ImportResolver resolver, std::shared_ptr<TypeLib>* lib) {
  core->resolver = std::move(resolver);
  core->importedLibs.resize(core->model.imports.size());
  core->dispatchViews.resize(core->model.types.size());
  for (auto& infos : core->typeInfos) infos.resize(core->model.types.size());
  for (size_t i = 0; i < core->model.types.size(); ++i) core->typeByGuid.emplace(core->model.types[i].guid, i);
  *lib = std::make_shared<msft::MsftTypeLib>(std::move(core));
}

}  // namespace

HRESULT OpenMsftTypeLib(ByteSpan file, ImportResolver resolver, std::shared_ptr<TypeLib>* lib, ReadFailure* failure) {
  auto core = std::make_shared<msft::LibCore>();
  const Expected<void> parsed = msft::ParseMsftTypeLib(file, &core->model);
  if (!parsed) {
    if (failure) *failure = parsed.Failure();
    return parsed.Failure().code;
  }
  ServeLibModel(std::move(core), std::move(resolver), lib);
  return S_OK_;
}

Expected<void> OpenSltgTypeLib(ByteSpan file, ImportResolver resolver, std::shared_ptr<TypeLib>* lib) {
  auto core = std::make_shared<msft::LibCore>();
  Expected<void> parsed = sltg::ParseSltgTypeLib(file, &core->model);
  if (!parsed) return parsed;
  ServeLibModel(std::move(core), std::move(resolver), lib);
  return {};
}

void SetLibraryFile(TypeLib& lib, Text path) {
  if (auto* msftLib = dynamic_cast<msft::MsftTypeLib*>(&lib)) msftLib->SetLibraryFile(std::move(path));
}

HRESULT FindTypeInfoOfGuid(TypeLib& lib, const Guid& guid, std::shared_ptr<TypeInfo>* info) {
  if (auto* msftLib = dynamic_cast<msft::MsftTypeLib*>(&lib)) return msftLib->GetTypeInfoOfGuid(guid, info);
  for (unsigned i = 0; i < lib.GetTypeInfoCount(); ++i) {
    std::shared_ptr<TypeInfo> candidate;
    TypeAttr attr;
    if (Succeeded(lib.GetTypeInfo(i, &candidate)) && Succeeded(candidate->GetTypeAttr(&attr)) && attr.guid == guid) {
      *info = std::move(candidate);
      return S_OK_;
    }
  }
  return Code::TypeElementNotFound;
}

}  // namespace brannock::typelib
