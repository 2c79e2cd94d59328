#include "typelib/idl_type_text.h"

#include "platform/messages.h"
#include "typelib/idl_dispatch_form.h"
#include "typelib/idl_member_text.h"
#include "typelib/text_parts.h"
#include "typelib/idl_type_desc_text.h"
#include "typelib/idl_value_text.h"

namespace brannock::typelib {
namespace {

const Text kMemberIndent = u"    ";

// "uuid(...), version(...), helpstring(...), helpcontext(...), " and the
// flag words, as far as the type has them.
Text TypeAttributes(const TypeAttr& attr, const Documentation& doc) {
  Text words;
  if (attr.guid != Guid{}) words += u"uuid(" + IdlGuidText(attr.guid) + u"), ";
  if (attr.wMajorVerNum != 0 || attr.wMinorVerNum != 0)
    words += u"version(" + UIntToText(attr.wMajorVerNum) + u"." + UIntToText(attr.wMinorVerNum) + u"), ";
  const Text help = CleanText(doc.docString);
  if (!help.empty()) {
    words += u"helpstring(";
    AppendIdlString(help, &words);
    words += u"), ";
  }
  if (doc.helpContext != 0) {
    words += u"helpcontext(";
    AppendIdlHex(doc.helpContext, &words);
    words += u"), ";
  }
  AppendTypeFlagWords(attr.wTypeFlags, attr.typekind, &words);
  return words;
}

// "[words]" without the last ", "; empty for no words.
Text Bracketed(Text words) {
  if (words.empty()) return words;
  words.resize(words.size() - 2);
  return u"[" + words + u"]";
}

void AddTypedef(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Text& name, const Text& words,
                const Text& indent, TextList* lines) {
  const Text attributes = Bracketed(words);
  const char16_t* keyword = attr.typekind == TKIND_ENUM ? u"enum " : attr.typekind == TKIND_UNION ? u"union " : u"struct ";
  lines->push_back(indent + u"typedef " + (attributes.empty() ? Text() : attributes + u" ") + keyword + name + u" {");
  AddIdlVariables(info, attr, context, indent + kMemberIndent, lines);
  lines->push_back(indent + u"} " + name + u";");
}

void AddAlias(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Text& name, const Text& words,
              const Text& indent, TextList* lines) {
  Text type, suffix;
  AppendIdlType(attr.tdescAlias, info, context, &type, &suffix);
  lines->push_back(indent + u"typedef " + Bracketed(u"public, " + words) + u" " + type + u" " + name + suffix + u";");
}

void AddInterface(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Text& name, const Text& words,
                  const Text& indent, TextList* lines) {
  const size_t attributeLine = lines->size();
  lines->push_back(Text());
  Text head = indent + u"interface " + name;
  if (attr.cImplTypes > 0) {
    HREFTYPE href = 0;
    const HRESULT hr = info.GetRefTypeOfImplType(0, &href);
    if (Succeeded(hr)) {
      head += u" : ";
      context.AppendReference(info, href, IdlContext::Use::Base, &head);
    } else {
      head += u" /* " + platform::ErrorCodeText(static_cast<uint32_t>(hr)) + u" */";
    }
  }
  lines->push_back(head + u" {");
  const bool voidPointers = AddIdlFunctions(info, attr, context, indent + kMemberIndent, lines);
  lines->push_back(indent + u"};");
  // Pointers to void cannot be marshalled: such an interface is local.
  (*lines)[attributeLine] = indent + Bracketed((voidPointers ? u"local, object, " : u"object, ") + words);
}

void AddDispinterface(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Text& name,
                      const Text& words, const Text& indent, TextList* lines) {
  // IDispatch, which every dispinterface implements, must be declared too.
  HREFTYPE dispatch = 0;
  Text unused;
  if (attr.cImplTypes > 0 && Succeeded(info.GetRefTypeOfImplType(0, &dispatch)))
    context.AppendReference(info, dispatch, IdlContext::Use::Type, &unused);
  else
    context.UseBaseType(IdlBaseType::IDispatch);
  lines->push_back(indent + Bracketed(words));
  lines->push_back(indent + u"dispinterface " + name + u" {");
  const Text inner = indent + kMemberIndent;
  if (std::shared_ptr<TypeInfo> declaring = FindDeclaringInterface(context.Library(), info, attr)) {
    Text line = inner + u"interface ";
    context.AppendResolved(declaring, IdlContext::Use::Base, &line);
    lines->push_back(line + u";");
  } else {
    lines->push_back(inner + u"properties:");
    AddIdlVariables(info, attr, context, inner + kMemberIndent, lines);
    lines->push_back(inner + u"methods:");
    AddIdlFunctions(info, attr, context, inner + kMemberIndent, lines);
  }
  lines->push_back(indent + u"};");
}

void AddCoclass(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Text& name, const Text& words,
                const Text& indent, TextList* lines) {
  lines->push_back(indent + Bracketed(words));
  lines->push_back(indent + u"coclass " + name + u" {");
  const Text inner = indent + kMemberIndent;
  for (unsigned i = 0; i < attr.cImplTypes; ++i) {
    HREFTYPE href = 0;
    int32_t flags = 0;
    HRESULT hr = info.GetRefTypeOfImplType(i, &href);
    if (Succeeded(hr)) hr = info.GetImplTypeFlags(i, &flags);
    if (Failed(hr)) {
      lines->push_back(IdlFailureLine(inner, hr));
      continue;
    }
    Text flagWords;
    if (flags & ImplTypeFlag::Default) flagWords += u"default, ";
    if (flags & ImplTypeFlag::Source) flagWords += u"source, ";
    if (flags & ImplTypeFlag::Restricted) flagWords += u"restricted, ";
    if (flags & ImplTypeFlag::DefaultVtable) flagWords += u"defaultvtable, ";
    Text referenced;
    const auto kind = context.AppendReference(info, href, IdlContext::Use::Type, &referenced);
    const bool dispinterface = kind && kind->kind == TKIND_DISPATCH && !kind->dual;
    Text line = inner + Bracketed(flagWords);
    if (!flagWords.empty()) line += u" ";
    lines->push_back(line + (dispinterface ? u"dispinterface " : u"interface ") + referenced + u";");
  }
  lines->push_back(indent + u"};");
}

void AddModule(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Text& name, const Text& words,
               const Text& indent, TextList* lines) {
  // The DLL is named by the entry points of the module's functions.
  Text dllWord;
  for (unsigned i = 0; i < attr.cFuncs && dllWord.empty(); ++i) {
    FuncDesc func;
    Text dll, entry;
    uint16_t ordinal = 0;
    if (Succeeded(info.GetFuncDesc(i, &func)) &&
        Succeeded(info.GetDllEntry(func.memid, func.invkind, &dll, &entry, &ordinal)) && !CleanText(dll).empty()) {
      dllWord = u"dllname(";
      AppendIdlString(CleanText(dll), &dllWord);
      dllWord += u"), ";
    }
  }
  const Text attributes = Bracketed(dllWord + words);
  if (!attributes.empty()) lines->push_back(indent + attributes);
  lines->push_back(indent + u"module " + name + u" {");
  AddIdlVariables(info, attr, context, indent + kMemberIndent, lines);
  AddIdlFunctions(info, attr, context, indent + kMemberIndent, lines);
  lines->push_back(indent + u"};");
}

// A dual interface as the interface it is: its interface view.
void AddDual(IdlContext& context, TypeInfo& info, const Documentation& doc, const Text& name, const Text& indent,
             TextList* lines) {
  HREFTYPE href = 0;
  std::shared_ptr<TypeInfo> view;
  TypeAttr viewAttr;
  HRESULT hr = info.GetRefTypeOfImplType(static_cast<unsigned>(-1), &href);
  if (Succeeded(hr)) hr = info.GetRefTypeInfo(href, &view);
  if (Succeeded(hr) && !view) hr = Code::Pointer;
  if (Succeeded(hr)) hr = view->GetTypeAttr(&viewAttr);
  if (Failed(hr)) {
    lines->push_back(IdlFailureLine(indent, hr));
    return;
  }
  AddInterface(context, *view, viewAttr, name, TypeAttributes(viewAttr, doc), indent, lines);
}

}  // namespace

void AppendTypeFlagWords(uint16_t flags, TypeKind kind, Text* out) {
  static constexpr struct {
    uint16_t flag;
    const char16_t* word;
  } kWords[] = {{TypeFlag::AppObject, u"appobject"},       {TypeFlag::Licensed, u"licensed"},
                {TypeFlag::PreDeclId, u"predeclid"},       {TypeFlag::Control, u"control"},
                {TypeFlag::Hidden, u"hidden"},             {TypeFlag::Dual, u"dual"},
                {TypeFlag::NonExtensible, u"nonextensible"}, {TypeFlag::OleAutomation, u"oleautomation"},
                {TypeFlag::Restricted, u"restricted"},     {TypeFlag::Aggregatable, u"aggregatable"},
                {TypeFlag::Replaceable, u"replaceable"}};
  for (const auto& w : kWords)
    if (flags & w.flag) {
      *out += w.word;
      *out += u", ";
    }
  if (kind == TKIND_COCLASS && !(flags & TypeFlag::CanCreate)) *out += u"noncreatable, ";
}

void AddIdlDeclaration(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Documentation& doc,
                       const Text& indent, TextList* lines) {
  const Text name = CleanText(doc.name);
  const Text words = TypeAttributes(attr, doc);
  switch (attr.typekind) {
    case TKIND_ENUM:
    case TKIND_RECORD:
    case TKIND_UNION: AddTypedef(context, info, attr, name, words, indent, lines); break;
    case TKIND_ALIAS: AddAlias(context, info, attr, name, words, indent, lines); break;
    case TKIND_MODULE: AddModule(context, info, attr, name, words, indent, lines); break;
    case TKIND_INTERFACE: AddInterface(context, info, attr, name, words, indent, lines); break;
    case TKIND_DISPATCH:
      if (attr.wTypeFlags & TypeFlag::Dual)
        AddDual(context, info, doc, name, indent, lines);
      else
        AddDispinterface(context, info, attr, name, words, indent, lines);
      break;
    case TKIND_COCLASS: AddCoclass(context, info, attr, name, words, indent, lines); break;
    default: lines->push_back(indent + u"// " + name + u": type kind " + IntToText(attr.typekind)); break;
  }
}

}  // namespace brannock::typelib
