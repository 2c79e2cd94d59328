#include "typelib/member_text.h"

#include <algorithm>

#include "common/velkar_strutils.h"
#include "platform/messages.h"
#include "typelib/type_desc_text.h"

namespace brannock::typelib {
namespace {

constexpr unsigned kMaxNames = 65535;

bool IsInterfaceLike(TypeKind kind) {
  return kind == TKIND_INTERFACE || kind == TKIND_DISPATCH || kind == TKIND_COCLASS;
}

void AddDocComment(TypeInfo& info, MEMBERID memid, TextList* lines) {
  Documentation doc;
  if (Failed(info.GetDocumentation(memid, &doc))) return;
  Text comment = CleanText(doc.docString);
  if (!IsBlank(comment)) lines->push_back(u"// " + comment);
}

Text ParamName(const TextList& names, size_t index) {
  if (index + 1 < names.size()) {
    Text name = CleanText(names[index + 1]);
    if (!IsBlank(name)) return name;
  }
  return u"Param" + UIntToText(index + 1);
}

Text ConstantText(const VarDesc& desc) {
  Text text;
  if (!desc.lpvarValue || desc.lpvarValue->vt == VT_NULL || Failed(VariantToText(*desc.lpvarValue, &text)))
    return u"<?>";
  return text;
}

Text FunctionKeywordAndName(const FuncDesc& desc, const Text& name) {
  uint16_t result = desc.elemdescFunc.tdesc.vt;
  Text keyword = result == VT_VOID || result == VT_HRESULT ? u"procedure " : u"function ";
  switch (desc.invkind) {
    case INVOKE_PROPERTYGET: return keyword + u"Get_" + name;
    case INVOKE_PROPERTYPUT:
    case INVOKE_PROPERTYPUTREF: return keyword + u"Set_" + name;
    default: return keyword + name;
  }
}

Text FailureLine(HRESULT hr) { return platform::ErrorCodeText(static_cast<uint32_t>(hr)); }

}  // namespace

ParamFlagsText ParamFlagsToStr(const ParamDesc& desc) {
  static constexpr struct {
    uint16_t flag;
    const char16_t* word;
  } kWords[] = {{ParamFlag::In, u"const "},
                {ParamFlag::Out, u"var "},
                {ParamFlag::Lcid, u"lcid "},
                {ParamFlag::RetVal, u"retval "},
                {ParamFlag::Opt, u"optional "}};
  ParamFlagsText result;
  for (const auto& w : kWords)
    if (desc.wParamFlags & w.flag) result.words += w.word;
  if ((desc.wParamFlags & ParamFlag::HasDefault) && desc.pparamdescex) {
    const Variant& value = desc.pparamdescex->varDefaultValue;
    Text text;
    if (Succeeded(VariantToText(value, &text)))
      result.defaultText = value.vt == VT_BSTR ? u" = '" + text + u"'" : u" = " + text;
  }
  return result;
}

Text FuncDescToStr(const FuncDesc& desc, TypeInfo& owner) {
  TextList names;
  Text text;
  // A library may claim more parameters than it describes; only described
  // ones are rendered.
  size_t count = std::min<size_t>(std::max<int16_t>(desc.cParams, 0), desc.lprgelemdescParam.size());
  if (Succeeded(owner.GetNames(desc.memid, &names, kMaxNames)) && !names.empty() && count > 0) {
    text = u"(";
    for (size_t i = 0; i < count; ++i) {
      const ElemDesc& param = desc.lprgelemdescParam[i];
      ParamFlagsText flags = ParamFlagsToStr(param.paramdesc);
      if (i > 0) text += u"; ";
      text += flags.words + ParamName(names, i) + u": " + TypeDescToStr(param.tdesc, owner) + flags.defaultText;
    }
    text += u")";
  }
  if (desc.elemdescFunc.tdesc.vt != VT_VOID) text += u": " + TypeDescToStr(desc.elemdescFunc.tdesc, owner);
  text += u";";
  if (desc.funckind == FUNC_DISPATCH) text += u" dispid " + IntToText(desc.memid) + u";";
  return text;
}

Text VarDescToStr(const VarDesc& desc, TypeInfo& owner) {
  Documentation doc;
  if (Failed(owner.GetDocumentation(desc.memid, &doc))) return Text();
  Text text = CleanText(doc.name);
  if (desc.varkind == VAR_CONST) return text + u" = " + ConstantText(desc) + u";";
  return text + u": " + TypeDescToStr(desc.elemdescVar.tdesc, owner) + u";";
}

void GetMemberLines(TypeInfo& info, const TypeAttr& attr, TextList* lines) {
  const bool interfaceLike = IsInterfaceLike(attr.typekind);
  const Text prefix = interfaceLike ? u"property " : u"";
  for (unsigned i = 0; i < attr.cVars; ++i) {
    VarDesc desc;
    if (HRESULT hr = info.GetVarDesc(i, &desc); Failed(hr)) {
      lines->push_back(FailureLine(hr));
      continue;
    }
    AddDocComment(info, desc.memid, lines);
    lines->push_back(prefix + VarDescToStr(desc, info));
  }
  if (!interfaceLike) return;
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    FuncDesc desc;
    if (HRESULT hr = info.GetFuncDesc(i, &desc); Failed(hr)) {
      lines->push_back(FailureLine(hr));
      continue;
    }
    TextList names;
    if (Failed(info.GetNames(desc.memid, &names, kMaxNames)) || names.empty()) continue;
    AddDocComment(info, desc.memid, lines);
    lines->push_back(FunctionKeywordAndName(desc, CleanText(names[0])) + FuncDescToStr(desc, info));
  }
}

}  // namespace brannock::typelib
