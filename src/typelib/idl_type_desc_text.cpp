#include "typelib/idl_type_desc_text.h"

#include <algorithm>

#include "typelib/type_desc_text.h"

namespace brannock::typelib {
namespace {

struct BasicType {
  const char16_t* name;
  std::optional<IdlBaseType> base;  // the declaration the name needs
};

// The codes 0 to 31 that have a name of their own (null: none).
const BasicType kBasicTypes[32] = {
    {nullptr, {}},
    {nullptr, {}},
    {u"short", {}},
    {u"long", {}},
    {u"float", {}},
    {u"double", {}},
    {u"CURRENCY", IdlBaseType::Currency},
    {u"DATE", IdlBaseType::Date},
    {u"BSTR", IdlBaseType::Bstr},
    {u"IDispatch*", IdlBaseType::IDispatch},
    {u"SCODE", IdlBaseType::SCode},
    {u"VARIANT_BOOL", IdlBaseType::VariantBool},
    {u"VARIANT", IdlBaseType::Variant},
    {u"IUnknown*", IdlBaseType::IUnknown},
    {u"DECIMAL", IdlBaseType::Decimal},
    {nullptr, {}},
    {u"char", {}},
    {u"unsigned char", {}},
    {u"unsigned short", {}},
    {u"unsigned long", {}},
    {u"__int64", {}},
    {u"unsigned __int64", {}},
    {u"int", {}},
    {u"unsigned int", {}},
    {u"void", {}},
    {u"HRESULT", IdlBaseType::HResult},
    {nullptr, {}},
    {nullptr, {}},
    {nullptr, {}},
    {nullptr, {}},
    {u"LPSTR", IdlBaseType::LpStr},
    {u"LPWSTR", IdlBaseType::LpWStr},
};

void Unnamed(uint16_t vt, Text* type) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  *type += u"/* variant type 0x";
  for (int shift = 12; shift >= 0; shift -= 4) type->push_back(kDigits[(vt >> shift) & 0xF]);
  *type += u" */ void";
}

void Render(const TypeDesc& desc, TypeInfo& owner, IdlContext& context, int depth, Text* type, Text* suffix) {
  if (depth > kMaxTypeDescDepth) {
    Unnamed(desc.vt, type);
    return;
  }
  switch (desc.vt) {
    case VT_PTR:
      if (!desc.lptdesc) break;
      Render(*desc.lptdesc, owner, context, depth + 1, type, suffix);
      *type += u"*";
      return;
    case VT_SAFEARRAY: {
      if (!desc.lptdesc) break;
      Text elementSuffix;
      *type += u"SAFEARRAY(";
      Render(*desc.lptdesc, owner, context, depth + 1, type, &elementSuffix);
      *type += elementSuffix + u")";
      return;
    }
    case VT_CARRAY: {
      if (!desc.lpadesc) break;
      const ArrayDesc& array = *desc.lpadesc;
      const size_t dims = std::min<size_t>(array.cDims, array.rgbounds.size());
      // A bound of no elements is an open one ("[]").
      for (size_t i = 0; i < dims; ++i) {
        const uint32_t count = array.rgbounds[i].cElements;
        *suffix += count == 0 ? Text(u"[]") : u"[" + UIntToText(count) + u"]";
      }
      Render(array.tdescElem, owner, context, depth + 1, type, suffix);
      return;
    }
    case VT_USERDEFINED: context.AppendReference(owner, desc.hreftype, IdlContext::Use::Type, type); return;
    case VT_INT_PTR:
      context.UseBaseType(IdlBaseType::IntPtr);
      *type += u"INT_PTR";
      return;
    case VT_UINT_PTR:
      context.UseBaseType(IdlBaseType::UIntPtr);
      *type += u"UINT_PTR";
      return;
    default:
      if (desc.vt < 32 && kBasicTypes[desc.vt].name) {
        if (kBasicTypes[desc.vt].base) context.UseBaseType(*kBasicTypes[desc.vt].base);
        *type += kBasicTypes[desc.vt].name;
        return;
      }
      break;
  }
  Unnamed(desc.vt, type);
}

}  // namespace

bool HoldsVoidPointer(const TypeDesc& desc) {
  const TypeDesc* d = &desc;
  for (int depth = 0; d && depth <= kMaxTypeDescDepth; ++depth) {
    switch (d->vt) {
      case VT_PTR:
        if (d->lptdesc && d->lptdesc->vt == VT_VOID) return true;
        d = d->lptdesc.get();
        break;
      case VT_SAFEARRAY: d = d->lptdesc.get(); break;
      case VT_CARRAY: d = d->lpadesc ? &d->lpadesc->tdescElem : nullptr; break;
      default: return false;
    }
  }
  return false;
}

void AppendIdlType(const TypeDesc& desc, TypeInfo& owner, IdlContext& context, Text* type, Text* suffix) {
  Render(desc, owner, context, 0, type, suffix);
}

}  // namespace brannock::typelib
