#include "typelib/idl_context.h"

#include "platform/messages.h"
#include "typelib/file_loader.h"
#include "typelib/idl_type_text.h"
#include "typelib/text_parts.h"

namespace brannock::typelib {
namespace {

bool SameLibrary(const LibAttr& a, const LibAttr& b) {
  return a.guid == b.guid && a.lcid == b.lcid && a.syskind == b.syskind && a.wMajorVerNum == b.wMajorVerNum &&
         a.wMinorVerNum == b.wMinorVerNum;
}

// The name importlib takes: the file name of a library's path, without its
// folder and without a resource number ("x.dll\3" is x.dll).
Text ImportFileName(const Text& path) {
  Text plain = CleanText(path);
  if (plain.size() >= 2 && plain.front() == u'"' && plain.back() == u'"') plain = plain.substr(1, plain.size() - 2);
  const ResourceSuffix split = SplitResourceSuffix(plain);
  const size_t slash = split.path.find_last_of(u"\\/");
  return slash == Text::npos ? split.path : split.path.substr(slash + 1);
}

const char16_t* TagOf(TypeKind kind) {
  switch (kind) {
    case TKIND_ENUM: return u"enum ";
    case TKIND_RECORD: return u"struct ";
    case TKIND_UNION: return u"union ";
    default: return nullptr;
  }
}

struct BaseTypeDeclaration {
  const char16_t* name;
  const char16_t* lines[2];
};

// In the order of IdlBaseType.
constexpr BaseTypeDeclaration kBaseTypes[] = {
    {u"HRESULT", {u"typedef long HRESULT;", nullptr}},
    {u"SCODE", {u"typedef long SCODE;", nullptr}},
    {u"BSTR", {u"typedef wchar_t* BSTR;", nullptr}},
    {u"VARIANT",
     {u"typedef struct tagVARIANT { unsigned short vt; unsigned short wReserved1; unsigned short wReserved2; "
      u"unsigned short wReserved3; hyper llVal; } VARIANT;",
      nullptr}},
    {u"VARIANT_BOOL", {u"typedef short VARIANT_BOOL;", nullptr}},
    {u"DATE", {u"typedef double DATE;", nullptr}},
    {u"CURRENCY", {u"typedef struct tagCY { hyper int64; } CY;", u"typedef CY CURRENCY;"}},
    {u"DECIMAL",
     {u"typedef struct tagDEC { unsigned short wReserved; unsigned char scale; unsigned char sign; "
      u"unsigned long Hi32; unsigned hyper Lo64; } DECIMAL;",
      nullptr}},
    {u"LPSTR", {u"typedef char* LPSTR;", nullptr}},
    {u"LPWSTR", {u"typedef wchar_t* LPWSTR;", nullptr}},
    {u"INT_PTR", {u"typedef __int3264 INT_PTR;", nullptr}},
    {u"UINT_PTR", {u"typedef unsigned __int3264 UINT_PTR;", nullptr}},
    {u"IUnknown", {u"[object, uuid(00000000-0000-0000-C000-000000000046)] interface IUnknown {}", nullptr}},
    {u"IDispatch", {u"[object, uuid(00020400-0000-0000-C000-000000000046)] interface IDispatch {}", nullptr}},
};
static_assert(std::size(kBaseTypes) == static_cast<size_t>(IdlBaseType::Count));

}  // namespace

IdlContext::IdlContext(TypeLib& lib) : lib_(lib) {
  if (Failed(lib.GetLibAttr(&attr_))) attr_ = LibAttr{};
  Documentation doc;
  if (Succeeded(lib.GetDocumentation(-1, &doc))) name_ = CleanText(doc.name);
  for (unsigned i = 0; i < lib.GetTypeInfoCount(); ++i) {
    TypeKind kind = TKIND_ENUM;
    if (Succeeded(lib.GetDocumentation(static_cast<int32_t>(i), &doc)) && Succeeded(lib.GetTypeInfoType(i, &kind)))
      ownNames_.emplace(CleanText(doc.name), std::make_pair(kind, i));
  }
}

const IdlContext::Referenced& IdlContext::Classify(const std::shared_ptr<TypeInfo>& type) {
  auto known = referenced_.find(type.get());
  if (known != referenced_.end()) return known->second;
  kept_.push_back(type);
  Referenced& r = referenced_[type.get()];
  Documentation doc;
  TypeAttr attr;
  r.failure = type->GetDocumentation(MEMBERID_NIL, &doc);
  if (Succeeded(r.failure)) r.failure = type->GetTypeAttr(&attr);
  if (Failed(r.failure)) return r;
  r.name = CleanText(doc.name);
  r.kind = attr.typekind;
  r.dual = (attr.wTypeFlags & TypeFlag::Dual) != 0;
  std::shared_ptr<TypeLib> containing;
  // A type whose library cannot be told is taken as the library's own.
  if (Failed(type->GetContainingTypeLib(&containing, &r.index)) || !containing) return r;
  LibAttr libAttr;
  Documentation libDoc;
  if (Failed(containing->GetLibAttr(&libAttr))) libAttr = LibAttr{};
  if (Failed(containing->GetDocumentation(-1, &libDoc))) libDoc = Documentation{};
  const Text libName = CleanText(libDoc.name);
  if (SameLibrary(libAttr, attr_) && libName == name_) return r;
  r.local = false;
  r.import = ImportOf(*containing, libAttr, libName);
  return r;
}

size_t IdlContext::ImportOf(TypeLib& lib, const LibAttr& attr, const Text& name) {
  for (size_t i = 0; i < imports_.size(); ++i)
    if (SameLibrary(imports_[i].attr, attr) && imports_[i].name == name) return i;
  ImportedLibrary library{attr, name, {}};
  Text path;
  library.file = Succeeded(lib.GetLibraryFile(&path)) ? ImportFileName(path) : Text();
  if (library.file.empty()) library.file = name + u".tlb";
  imports_.push_back(std::move(library));
  return imports_.size() - 1;
}

std::optional<IdlReferenceKind> IdlContext::AppendReference(TypeInfo& owner, HREFTYPE href, Use use, Text* out) {
  std::shared_ptr<TypeInfo> type;
  HRESULT hr = owner.GetRefTypeInfo(href, &type);
  if (Succeeded(hr) && !type) hr = Code::Pointer;
  if (Failed(hr)) {
    *out += u"/* " + platform::ErrorCodeText(static_cast<uint32_t>(hr)) + u" */ void";
    return std::nullopt;
  }
  return AppendResolved(type, use, out);
}

std::optional<IdlReferenceKind> IdlContext::AppendResolved(const std::shared_ptr<TypeInfo>& type, Use use,
                                                           Text* out) {
  const Referenced& r = Classify(type);
  if (Failed(r.failure)) {
    *out += u"/* " + platform::ErrorCodeText(static_cast<uint32_t>(r.failure)) + u" */ void";
    return std::nullopt;
  }
  AppendName(r, type, use, out);
  return IdlReferenceKind{r.kind, r.dual};
}

std::optional<TypeKind> IdlContext::ShadowedBy(const Referenced& r) const {
  auto own = ownNames_.find(r.name);
  if (r.local || own == ownNames_.end()) return std::nullopt;
  return own->second.first;
}

void IdlContext::AppendName(const Referenced& r, const std::shared_ptr<TypeInfo>& type, Use use, Text* out) {
  const char16_t* tag = TagOf(r.kind);
  if (r.local) {
    // Records, unions and enums not defined yet go by their tag; the other
    // kinds referred to ahead are declared ahead.
    const bool ahead = current_ && r.index > *current_;
    if (tag && current_ && r.index >= *current_)
      *out += tag;
    else if (ahead && IsInterfaceLike(r.kind))
      forward_.emplace(r.index, ForwardLine(r));
    else if (ahead && r.kind == TKIND_ALIAS && !early_.count(r.index))
      DeclareEarly(r, type);
    *out += r.name;
    return;
  }
  // An imported type with the name of one of the library's own types:
  // IDL has one type for a name. A record, union or enum keeps its tag where
  // the library's type has none; an interface stands for the library's one
  // (in the declarations of imported types, where only the name counts).
  if (const std::optional<TypeKind> own = ShadowedBy(r)) {
    if (IsInterfaceLike(r.kind) && IsInterfaceLike(*own)) {
      const unsigned index = ownNames_.at(r.name).second;
      std::shared_ptr<TypeInfo> ownType;
      if (Succeeded(lib_.GetTypeInfo(index, &ownType)) && ownType)
        forward_.emplace(index, ForwardLine(Classify(ownType)));
      *out += r.name;
      return;
    }
    if (!tag || TagOf(*own)) {
      *out += u"/* " + r.name + u" of " + imports_[r.import].file + u" */ void";
      return;
    }
  }
  DeclareImported(r, type, use);
  if (tag && (ShadowedBy(r) || imported_[{r.import, r.index}] == Declared::InProgress)) *out += tag;
  *out += r.name;
}

Text IdlContext::ForwardLine(const Referenced& r) {
  const char16_t* keyword = r.kind == TKIND_COCLASS                  ? u"coclass "
                            : r.kind == TKIND_DISPATCH && !r.dual ? u"dispinterface "
                                                                    : u"interface ";
  return keyword + r.name + u";";
}

void IdlContext::DeclareImported(const Referenced& r, const std::shared_ptr<TypeInfo>& type, Use use) {
  const std::pair<size_t, unsigned> key{r.import, r.index};
  auto state = imported_.find(key);

  const bool interfaceLike = IsInterfaceLike(r.kind);
  if (state == imported_.end() && interfaceLike) {
    importedLines_.push_back(ForwardLine(r));
    state = imported_.emplace(key, Declared::Forward).first;
    importedNames_.insert(r.name);
  }
  const bool shadowed = ShadowedBy(r).has_value();
  const bool needsDefinition = !interfaceLike || use == Use::Base;
  if (!needsDefinition || (state != imported_.end() && state->second != Declared::Forward)) return;
  imported_[key] = Declared::InProgress;
  if (!shadowed) importedNames_.insert(r.name);
  // Defined as a type of its own library: outside this library's blocks.
  const std::optional<unsigned> current = current_;
  current_.reset();
  TextList lines;
  Declare(r, *type, Text(), &lines);
  current_ = current;
  if (ShadowedBy(r) && lines.size() >= 2) {
    // Declared by its tag alone, which the library's own type leaves free.
    const size_t tagAt = lines.front().find(TagOf(r.kind));
    if (tagAt != Text::npos) lines.front().erase(0, tagAt);
    lines.back() = u"};";
  }
  importedLines_.insert(importedLines_.end(), lines.begin(), lines.end());
  imported_[key] = Declared::Defined;
}

void IdlContext::DeclareEarly(const Referenced& r, const std::shared_ptr<TypeInfo>& type) {
  early_.insert(r.index);
  TextList lines;
  Declare(r, *type, kIdlLibraryIndent, &lines);
  earlyLines_.insert(earlyLines_.end(), lines.begin(), lines.end());
  earlyLines_.push_back(Text());
}

void IdlContext::Declare(const Referenced& r, TypeInfo& type, const Text& indent, TextList* lines) {
  Documentation doc;
  TypeAttr attr;
  HRESULT hr = type.GetDocumentation(MEMBERID_NIL, &doc);
  if (Succeeded(hr)) hr = type.GetTypeAttr(&attr);
  if (Failed(hr))
    lines->push_back(indent + u"// " + r.name + u": " + platform::ErrorCodeText(static_cast<uint32_t>(hr)));
  else
    AddIdlDeclaration(*this, type, attr, doc, indent, lines);
}

void IdlContext::TakeEarlyLines(TextList* lines) {
  lines->insert(lines->end(), earlyLines_.begin(), earlyLines_.end());
  earlyLines_.clear();
}

void IdlContext::AddPrologue(TextList* lines) {
  bool header = false;
  for (size_t i = 0; i < std::size(kBaseTypes); ++i) {
    const BaseTypeDeclaration& base = kBaseTypes[i];
    if (!baseTypes_[i] || ownNames_.count(base.name) != 0 || importedNames_.count(base.name)) continue;
    if (!header) {
      lines->push_back(u"// Base types of OLE Automation, which an IDL compiler knows by their names.");
      header = true;
    }
    for (const char16_t* line : base.lines)
      if (line) lines->push_back(line);
  }
  if (header) lines->push_back(Text());
  if (!forward_.empty()) {
    lines->push_back(u"// Types referred to before their definition.");
    for (const auto& [index, line] : forward_) lines->push_back(line);
    lines->push_back(Text());
  }
  if (!importedLines_.empty()) {
    lines->push_back(u"// Types of the imported libraries that this library refers to.");
    lines->insert(lines->end(), importedLines_.begin(), importedLines_.end());
    lines->push_back(Text());
  }
}

void IdlContext::AddImportLines(const Text& indent, TextList* lines) const {
  for (const ImportedLibrary& library : imports_) {
    Text line = indent + u"importlib(";
    line += u"\"" + library.file + u"\");";
    lines->push_back(std::move(line));
  }
}

}  // namespace brannock::typelib
