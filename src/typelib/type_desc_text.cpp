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

Text Render(const TypeDesc& desc, TypeInfo& owner, int depth);

Text FixedArray(const ArrayDesc& array, TypeInfo& owner, int depth) {
  Text text = u"array";
  size_t dims = std::min<size_t>(array.cDims, array.rgbounds.size());
  for (size_t i = 0; i < dims; ++i)
    text += u"[0.." + IntToText(int64_t{array.rgbounds[i].cElements} - 1) + u"]";
  return text + u" of " + Render(array.tdescElem, owner, depth + 1);
}

Text Render(const TypeDesc& desc, TypeInfo& owner, int depth) {
  if (depth > kMaxTypeDescDepth) return u"Unknown";
  switch (desc.vt) {
    case VT_PTR: return desc.lptdesc ? Render(*desc.lptdesc, owner, depth + 1) : u"Unknown";
    case VT_SAFEARRAY: return desc.lptdesc ? u"array of " + Render(*desc.lptdesc, owner, depth + 1) : u"Unknown";
    case VT_CARRAY: return desc.lpadesc ? FixedArray(*desc.lpadesc, owner, depth) : u"Unknown";
    case VT_USERDEFINED: return GetUserTypeName(desc.hreftype, owner);
    default: return desc.vt < 32 ? kBasicNames[desc.vt] : u"Unknown";
  }
}

}  // namespace

Text TypeDescToStr(const TypeDesc& desc, TypeInfo& owner) { return Render(desc, owner, 0); }

Text GetUserTypeName(HREFTYPE href, TypeInfo& owner) {
  std::shared_ptr<TypeInfo> referenced;
  Documentation doc;
  if (Failed(owner.GetRefTypeInfo(href, &referenced)) || !referenced ||
      Failed(referenced->GetDocumentation(MEMBERID_NIL, &doc)))
    return u"<UnknownCustomType>";
  return doc.name;
}

}  // namespace brannock::typelib
