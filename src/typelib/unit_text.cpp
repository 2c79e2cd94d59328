#include "typelib/unit_text.h"

#include "common/text_rules.h"
#include "common/unit_search.h"
#include "platform/messages.h"
#include "typelib/display_name.h"
#include "typelib/member_text.h"
#include "typelib/type_desc_text.h"

namespace brannock::typelib {
namespace {

Text ErrorLine(HRESULT hr) { return platform::ErrorCodeText(static_cast<uint32_t>(hr)); }

Text GuidLine(const TypeAttr& attr) { return u"     ['" + GuidToText(attr.guid) + u"']"; }

// The clean name of the type that implemented-type `index` refers to.
HRESULT ImplementedTypeName(TypeInfo& info, unsigned index, Text* name) {
  HREFTYPE href = 0;
  std::shared_ptr<TypeInfo> referenced;
  Documentation doc;
  HRESULT hr = info.GetRefTypeOfImplType(index, &href);
  if (Succeeded(hr)) hr = info.GetRefTypeInfo(href, &referenced);
  if (Succeeded(hr) && !referenced) hr = Code::Pointer;
  if (Succeeded(hr)) hr = referenced->GetDocumentation(MEMBERID_NIL, &doc);
  if (Succeeded(hr)) *name = CleanText(doc.name);
  return hr;
}

void AddClassLines(const Text& name, TypeInfo& info, const TypeAttr& attr, LineSink& lines) {
  Text line = u"  T" + name + u" = class(TAutoObject, ";
  TextList failures;
  for (unsigned i = 0; i < attr.cImplTypes; ++i) {
    Text implemented;
    if (HRESULT hr = ImplementedTypeName(info, i, &implemented); Failed(hr))
      failures.push_back(u"  " + ErrorLine(hr));
    else
      line += implemented + u", ";
  }
  line.resize(line.size() - 2);
  line += u");";
  lines.Add(line);
  for (const Text& failure : failures) lines.Add(failure);
}

void AddHeadLines(const Text& name, TypeInfo& info, const TypeAttr& attr, LineSink& lines) {
  const Text flags = u"  // " + TypeFlagsToStr(attr.wTypeFlags);
  switch (attr.typekind) {
    case TKIND_ENUM:
      lines.Add(u"  " + name + u" = TOleEnum;");
      lines.Add(u"const");
      break;
    case TKIND_RECORD: lines.Add(u"  " + name + u" = record"); break;
    case TKIND_UNION:
      lines.Add(u"  " + name + u" = record");
      lines.Add(u"  case Integer of");
      break;
    case TKIND_INTERFACE:
      lines.Add(flags);
      lines.Add(u"  " + name + u" = interface(IDispatch)");
      lines.Add(GuidLine(attr));
      break;
    case TKIND_DISPATCH:
      lines.Add(flags);
      lines.Add(u"  " + name + u" = dispinterface");
      lines.Add(GuidLine(attr));
      break;
    case TKIND_COCLASS:
      lines.Add(u"  // CLSID: " + GuidToText(attr.guid));
      lines.Add(flags);
      AddClassLines(name, info, attr, lines);
      break;
    case TKIND_ALIAS: lines.Add(u"  " + name + u" = " + TypeDescToStr(attr.tdescAlias, info) + u";"); break;
    default: break;
  }
}

bool HasEndLine(TypeKind kind) {
  return kind == TKIND_RECORD || kind == TKIND_UNION || kind == TKIND_INTERFACE || kind == TKIND_DISPATCH;
}

// The second block of a dual interface: the same type rendered as the kind of
// the type it implements at index 0.
void AddDualDeclaration(const Text& name, const Text& docString, TypeInfo& info, const TypeAttr& attr,
                        LineSink& lines) {
  HREFTYPE href = 0;
  std::shared_ptr<TypeInfo> referenced;
  TypeAttr referencedAttr;
  HRESULT hr = info.GetRefTypeOfImplType(0, &href);
  if (Succeeded(hr)) hr = info.GetRefTypeInfo(href, &referenced);
  if (Succeeded(hr) && !referenced) hr = Code::Pointer;
  if (Succeeded(hr)) hr = referenced->GetTypeAttr(&referencedAttr);
  if (Failed(hr)) {
    lines.Add(ErrorLine(hr));
    return;
  }
  TypeAttr dual = attr;
  dual.typekind = referencedAttr.typekind;
  AddTypeDeclaration(DeclarationName(name, dual.typekind), docString, info, lines, dual);
}

// Texts from the library (names, documentation, constant values) never break
// a line of the unit: each CR LF, CR or LF inside a line becomes one blank,
// so that every line keeps its "//" and the line numbers stay those of the
// unit.
void KeepOnOneLine(Text& line) {
  size_t at = FindEitherUnit(line, 0, u'\r', u'\n');
  if (at == Text::npos) return;
  size_t out = at;
  while (at < line.size()) {
    const char16_t c = line[at++];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && at < line.size() && line[at] == u'\n') ++at;
      line[out++] = u' ';
    } else {
      line[out++] = c;
    }
  }
  line.resize(out);
}

// Member lines indented as the kind of their type puts them: the variants
// of a union numbered by their line.
class IndentedMembers : public LineSink {
 public:
  IndentedMembers(TypeKind kind, LineSink& to) : kind_(kind), to_(to) {}

  void Add(TextView member) override {
    line_.clear();
    switch (kind_) {
      case TKIND_ENUM: line_ += u"  "; break;
      case TKIND_ALIAS: break;
      case TKIND_UNION:
        line_ += u"    ";
        AppendUInt(count_, &line_);
        line_ += u": ";
        break;
      default: line_ += u"    "; break;
    }
    line_ += member;
    ++count_;
    to_.Add(line_);
  }

 private:
  TypeKind kind_;
  LineSink& to_;
  size_t count_ = 0;
  Text line_;
};

// Lines with their breaks made blanks (KeepOnOneLine), passed on.
class OneLineSink : public LineSink {
 public:
  explicit OneLineSink(LineSink& to) : to_(to) {}

  void Add(TextView line) override {
    if (FindEitherUnit(line, 0, u'\r', u'\n') == TextView::npos) {
      to_.Add(line);
      return;
    }
    line_.assign(line);
    KeepOnOneLine(line_);
    to_.Add(line_);
  }

 private:
  LineSink& to_;
  Text line_;
};

void AddType(TypeLib& lib, unsigned index, LineSink& lines) {
  Documentation libDoc;
  TypeKind kind = TKIND_ENUM;
  std::shared_ptr<TypeInfo> info;
  Documentation doc;
  TypeAttr attr;
  HRESULT hr = lib.GetDocumentation(static_cast<int32_t>(index), &libDoc);
  if (Succeeded(hr)) hr = lib.GetTypeInfoType(index, &kind);
  if (Succeeded(hr)) hr = lib.GetTypeInfo(index, &info);
  if (Succeeded(hr) && !info) hr = Code::Pointer;
  if (Succeeded(hr)) hr = info->GetDocumentation(MEMBERID_NIL, &doc);
  if (Succeeded(hr)) hr = info->GetTypeAttr(&attr);
  // A type that cannot be described names its failure code, like the
  // member lines do (the system text alone is empty for many codes).
  if (Failed(hr)) {
    lines.Add(ErrorLine(hr));
    return;
  }
  AddTypeDeclaration(DeclarationName(doc.name, kind), doc.docString, *info, lines, attr);
  if ((attr.typekind == TKIND_INTERFACE || attr.typekind == TKIND_DISPATCH) && (attr.wTypeFlags & TypeFlag::Dual))
    AddDualDeclaration(doc.name, doc.docString, *info, attr, lines);
}

}  // namespace

Text TypeFlagsToStr(uint16_t flags) {
  static constexpr struct {
    uint16_t flag;
    const char16_t* word;
  } kWords[] = {{TypeFlag::AppObject, u"appobject,"},         {TypeFlag::CanCreate, u"cancreate,"},
                {TypeFlag::Licensed, u"licensed,"},           {TypeFlag::PreDeclId, u"predeclid,"},
                {TypeFlag::Control, u"control,"},             {TypeFlag::Hidden, u"hidden,"},
                {TypeFlag::Dual, u"dual,"},                   {TypeFlag::NonExtensible, u"nonextensible,"},
                {TypeFlag::OleAutomation, u"oleautomation,"}, {TypeFlag::Restricted, u"restricted,"},
                {TypeFlag::Aggregatable, u"aggregatable,"},   {TypeFlag::Replaceable, u"replaceable,"},
                {TypeFlag::Dispatchable, u"dispatchable,"},   {TypeFlag::ReverseBind, u"reversebind,"}};
  Text text = u"Flags: (" + UIntToText(flags) + u") ";
  for (const auto& w : kWords)
    if (flags & w.flag) text += w.word;
  text.pop_back();
  return text;
}

void AddTypeDeclaration(const Text& name, const Text& docString, TypeInfo& info, LineSink& lines,
                        const TypeAttr& attr) {
  if (attr.typekind == TKIND_MODULE) return;
  lines.Add(u"type");
  Text doc = CleanText(docString);
  if (!IsBlank(doc)) lines.Add(u"  // " + doc);
  AddHeadLines(name, info, attr, lines);

  IndentedMembers members(attr.typekind, lines);
  GetMemberLines(info, attr, members);
  if (HasEndLine(attr.typekind)) lines.Add(u"  end;");
  lines.Add(TextView());
}

Text TypeLibToStrings(const UnitHeader& header, TypeLib& lib, LineSink& sink) {
  OneLineSink lines(sink);
  const unsigned count = lib.GetTypeInfoCount();
  Documentation doc;
  lib.GetDocumentation(-1, &doc);
  const Text unitName = CleanText(doc.name);
  for (const Text& line : {u"// typelib filename: " + header.fileName, Text(), u"// uid: " + header.uid,
                           u"// version: " + UIntToText(header.majorVersion) + u"." + UIntToText(header.minorVersion),
                           u"// helpstring: " + CleanText(doc.docString), u"// helpfile: " + CleanText(doc.helpFile),
                           Text(), u"unit " + unitName + u";", Text(), Text(u"interface"), Text(),
                           Text(u"uses Windows, ActiveX, Classes;"), Text()})
    lines.Add(line);
  for (unsigned i = 0; i < count; ++i) AddType(lib, i, lines);
  for (const char16_t* line : {u"", u"implementation", u"", u"end."}) lines.Add(line);
  return unitName;
}

Text TypeLibToStrings(const UnitHeader& header, TypeLib& lib, TextList* lines) {
  LineListSink sink(lines);
  return TypeLibToStrings(header, lib, sink);
}

void AddTypeDeclaration(const Text& name, const Text& docString, TypeInfo& info, TextList* lines,
                        const TypeAttr& attr) {
  LineListSink sink(lines);
  AddTypeDeclaration(name, docString, info, sink, attr);
}

}  // namespace brannock::typelib
