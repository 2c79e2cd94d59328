#include "typelib/idl_text.h"

#include "platform/messages.h"
#include "typelib/idl_context.h"
#include "typelib/idl_type_text.h"
#include "typelib/idl_value_text.h"

namespace brannock::typelib {
namespace {

const Text& kIndent = kIdlLibraryIndent;

// The library's attribute lines, between "[" and "]".
void AddLibraryAttributes(TypeLib& lib, const Documentation& doc, TextList* lines) {
  TextList words;
  LibAttr attr;
  const bool hasAttr = Succeeded(lib.GetLibAttr(&attr));
  if (hasAttr) {
    words.push_back(u"uuid(" + IdlGuidText(attr.guid) + u")");
    words.push_back(u"version(" + UIntToText(attr.wMajorVerNum) + u"." + UIntToText(attr.wMinorVerNum) + u")");
  }
  if (const Text help = CleanText(doc.docString); !help.empty()) {
    Text word = u"helpstring(";
    AppendIdlString(help, &word);
    words.push_back(word + u")");
  }
  if (const Text file = CleanText(doc.helpFile); !file.empty()) {
    Text word = u"helpfile(";
    AppendIdlString(file, &word);
    words.push_back(word + u")");
  }
  if (doc.helpContext != 0) {
    Text word = u"helpcontext(";
    AppendIdlHex(doc.helpContext, &word);
    words.push_back(word + u")");
  }
  if (hasAttr) {
    Text word = u"lcid(";
    AppendIdlHex(attr.lcid, &word);
    words.push_back(word + u")");
    if (attr.wLibFlags & 0x1) words.push_back(u"restricted");
    if (attr.wLibFlags & 0x2) words.push_back(u"control");
    if (attr.wLibFlags & 0x4) words.push_back(u"hidden");
  }
  lines->push_back(u"[");
  for (size_t i = 0; i < words.size(); ++i) lines->push_back(u"  " + words[i] + (i + 1 < words.size() ? u"," : u""));
  lines->push_back(u"]");
}

void AddType(IdlContext& context, TypeLib& lib, unsigned index, TextList* lines) {
  if (context.IsDeclaredEarly(index)) {
    Documentation doc;
    lib.GetDocumentation(static_cast<int32_t>(index), &doc);
    lines->push_back(kIndent + u"// " + CleanText(doc.name) + u" is declared before the type that first refers to it.");
    lines->push_back(Text());
    return;
  }
  std::shared_ptr<TypeInfo> info;
  Documentation doc;
  TypeAttr attr;
  HRESULT hr = lib.GetTypeInfo(index, &info);
  if (Succeeded(hr) && !info) hr = Code::Pointer;
  if (Succeeded(hr)) hr = info->GetDocumentation(MEMBERID_NIL, &doc);
  if (Succeeded(hr)) hr = info->GetTypeAttr(&attr);
  if (Failed(hr)) {
    lines->push_back(kIndent + u"// " + platform::ErrorCodeText(static_cast<uint32_t>(hr)));
  } else {
    context.SetCurrentType(index);
    TextList block;
    AddIdlDeclaration(context, *info, attr, doc, kIndent, &block);
    context.TakeEarlyLines(lines);
    lines->insert(lines->end(), block.begin(), block.end());
  }
  lines->push_back(Text());
}

}  // namespace

Text TypeLibToIdl(const UnitHeader& header, TypeLib& lib, TextList* lines) {
  Documentation doc;
  lib.GetDocumentation(-1, &doc);
  const Text name = CleanText(doc.name);
  IdlContext context(lib);
  TextList types;
  const unsigned count = lib.GetTypeInfoCount();
  for (unsigned i = 0; i < count; ++i) AddType(context, lib, i, &types);

  lines->push_back(u"// typelib filename: " + header.fileName);
  lines->push_back(Text());
  context.AddPrologue(lines);
  AddLibraryAttributes(lib, doc, lines);
  lines->push_back(u"library " + name);
  lines->push_back(u"{");
  TextList imports;
  context.AddImportLines(kIndent, &imports);
  if (!imports.empty()) {
    lines->insert(lines->end(), imports.begin(), imports.end());
    lines->push_back(Text());
  }
  lines->reserve(lines->size() + types.size() + 1);
  for (Text& line : types) lines->push_back(std::move(line));
  lines->push_back(u"};");
  return name;
}

}  // namespace brannock::typelib
