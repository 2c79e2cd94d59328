#include "typelib/unit_text.h"

#include "common/text_rules.h"
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

void AddClassLines(const Text& name, TypeInfo& info, const TypeAttr& attr, TextList* lines) {
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
  lines->push_back(line + u");");
  lines->insert(lines->end(), failures.begin(), failures.end());
}

void AddHeadLines(const Text& name, TypeInfo& info, const TypeAttr& attr, TextList* lines) {
  const Text flags = u"  // " + TypeFlagsToStr(attr.wTypeFlags);
  switch (attr.typekind) {
    case TKIND_ENUM:
      lines->push_back(u"  " + name + u" = TOleEnum;");
      lines->push_back(u"const");
      break;
    case TKIND_RECORD: lines->push_back(u"  " + name + u" = record"); break;
    case TKIND_UNION:
      lines->push_back(u"  " + name + u" = record");
      lines->push_back(u"  case Integer of");
      break;
    case TKIND_INTERFACE:
      lines->push_back(flags);
      lines->push_back(u"  " + name + u" = interface(IDispatch)");
      lines->push_back(GuidLine(attr));
      break;
    case TKIND_DISPATCH:
      lines->push_back(flags);
      lines->push_back(u"  " + name + u" = dispinterface");
      lines->push_back(GuidLine(attr));
      break;
    case TKIND_COCLASS:
      lines->push_back(u"  // CLSID: " + GuidToText(attr.guid));
      lines->push_back(flags);
      AddClassLines(name, info, attr, lines);
      break;
    case TKIND_ALIAS: lines->push_back(u"  " + name + u" = " + TypeDescToStr(attr.tdescAlias, info) + u";"); break;
    default: break;
  }
}

bool HasEndLine(TypeKind kind) {
  return kind == TKIND_RECORD || kind == TKIND_UNION || kind == TKIND_INTERFACE || kind == TKIND_DISPATCH;
}

// The second block of a dual interface: the same type rendered as the kind of
// the type it implements at index 0.
void AddDualDeclaration(const Text& name, const Text& docString, TypeInfo& info, const TypeAttr& attr,
                        TextList* lines) {
  HREFTYPE href = 0;
  std::shared_ptr<TypeInfo> referenced;
  TypeAttr referencedAttr;
  HRESULT hr = info.GetRefTypeOfImplType(0, &href);
  if (Succeeded(hr)) hr = info.GetRefTypeInfo(href, &referenced);
  if (Succeeded(hr) && !referenced) hr = Code::Pointer;
  if (Succeeded(hr)) hr = referenced->GetTypeAttr(&referencedAttr);
  if (Failed(hr)) {
    lines->push_back(ErrorLine(hr));
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
  size_t at = line.find_first_of(u"\r\n");
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

void AddType(TypeLib& lib, unsigned index, TextList* lines) {
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
    lines->push_back(ErrorLine(hr));
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

void AddTypeDeclaration(const Text& name, const Text& docString, TypeInfo& info, TextList* lines,
                        const TypeAttr& attr) {
  if (attr.typekind == TKIND_MODULE) return;
  lines->push_back(u"type");
  Text doc = CleanText(docString);
  if (!IsBlank(doc)) lines->push_back(u"  // " + doc);
  AddHeadLines(name, info, attr, lines);

  TextList members;
  GetMemberLines(info, attr, &members);
  lines->reserve(lines->size() + members.size() + 2);
  for (size_t i = 0; i < members.size(); ++i) {
    Text& member = members[i];
    switch (attr.typekind) {
      case TKIND_ENUM: member.insert(0, u"  "); break;
      case TKIND_ALIAS: break;
      case TKIND_UNION: member.insert(0, u"    " + UIntToText(i) + u": "); break;
      default: member.insert(0, u"    "); break;
    }
    lines->push_back(std::move(member));
  }
  if (HasEndLine(attr.typekind)) lines->push_back(u"  end;");
  lines->push_back(Text());
}

Text TypeLibToStrings(const TObjectData& record, TypeLib& lib, TextList* lines) {
  const size_t first = lines->size();
  const unsigned count = lib.GetTypeInfoCount();
  Documentation doc;
  lib.GetDocumentation(-1, &doc);
  const Text unitName = CleanText(doc.name);
  for (Text line : {u"// typelib filename: " + record.Server, Text(), u"// uid: " + record.TypeLib,
                    u"// version: " + UIntToText(record.MajorVersion) + u"." + UIntToText(record.MinorVersion),
                    u"// helpstring: " + CleanText(doc.docString), u"// helpfile: " + CleanText(doc.helpFile),
                    Text(), u"unit " + unitName + u";", Text(), Text(u"interface"), Text(),
                    Text(u"uses Windows, ActiveX, Classes;"), Text()})
    lines->push_back(std::move(line));
  for (unsigned i = 0; i < count; ++i) AddType(lib, i, lines);
  for (const char16_t* line : {u"", u"implementation", u"", u"end."}) lines->push_back(line);
  for (size_t i = first; i < lines->size(); ++i) KeepOnOneLine((*lines)[i]);
  return unitName;
}

}  // namespace brannock::typelib
