#include "typelib/type_desc_text.h"

#include <algorithm>

namespace brannock::typelib {
namespace {

// Names of the codes 0 to 31 that have a fixed text (null: not a fixed name).
constexpr const char16_t* kBasicNames[32] = {
    u"Unknown",   u"Unknown",    u"SmallInt", u"LongInt",  u"Single",  u"Double",  u"Currency", u"TDateTime",
    u"WideString", u"IDispatch", u"HRESULT",  u"WordBool", u"Variant", u"IUnknown", u"Unknown",  u"Unknown",
    u"ShortInt",  u"Byte",       u"Word",     u"Cardinal", u"Int64",   u"Int64(?)", u"Integer",  u"DWORD",
    u"out",       u"HRESULT",    nullptr,     nullptr,     nullptr,    nullptr,    u"PChar",    u"PWideChar"};

void Render(const TypeDesc& desc, TypeInfo& owner, int depth, Text* out, Documentation* scratch);

void FixedArray(const ArrayDesc& array, TypeInfo& owner, int depth, Text* out, Documentation* scratch) {
  *out += u"array";
  size_t dims = std::min<size_t>(array.cDims, array.rgbounds.size());
  for (size_t i = 0; i < dims; ++i) {
    *out += u"[0..";
    *out += IntToText(int64_t{array.rgbounds[i].cElements} - 1);
    *out += u"]";
  }
  *out += u" of ";
  Render(array.tdescElem, owner, depth + 1, out, scratch);
}

void Render(const TypeDesc& desc, TypeInfo& owner, int depth, Text* out, Documentation* scratch) {
  if (depth > kMaxTypeDescDepth) {
    *out += u"Unknown";
    return;
  }
  switch (desc.vt) {
    case VT_PTR:
      if (desc.lptdesc)
        Render(*desc.lptdesc, owner, depth + 1, out, scratch);
      else
        *out += u"Unknown";
      return;
    case VT_SAFEARRAY:
      if (desc.lptdesc) {
        *out += u"array of ";
        Render(*desc.lptdesc, owner, depth + 1, out, scratch);
      } else {
        *out += u"Unknown";
      }
      return;
    case VT_CARRAY:
      if (desc.lpadesc)
        FixedArray(*desc.lpadesc, owner, depth, out, scratch);
      else
        *out += u"Unknown";
      return;
    case VT_USERDEFINED: AppendUserTypeName(desc.hreftype, owner, out, scratch); return;
    default: *out += desc.vt < 32 ? kBasicNames[desc.vt] : u"Unknown"; return;
  }
}

}  // namespace

Text TypeDescToStr(const TypeDesc& desc, TypeInfo& owner) {
  Text text;
  Documentation scratch;
  AppendTypeDesc(desc, owner, &text, &scratch);
  return text;
}

void AppendTypeDesc(const TypeDesc& desc, TypeInfo& owner, Text* out, Documentation* scratch) {
  Render(desc, owner, 0, out, scratch);
}

Text GetUserTypeName(HREFTYPE href, TypeInfo& owner) {
  Text name;
  Documentation scratch;
  AppendUserTypeName(href, owner, &name, &scratch);
  return name;
}

void AppendUserTypeName(HREFTYPE href, TypeInfo& owner, Text* out, Documentation* scratch) {
  std::shared_ptr<TypeInfo> referenced;
  if (Failed(owner.GetRefTypeInfo(href, &referenced)) || !referenced ||
      Failed(referenced->GetDocumentation(MEMBERID_NIL, scratch)))
    *out += u"<UnknownCustomType>";
  else
    *out += scratch->name;
}

}  // namespace brannock::typelib
