#include "typelib/member_text.h"

#include <algorithm>
#include <span>
#include <vector>

#include "common/text_rules.h"
#include "platform/messages.h"
#include "typelib/text_parts.h"
#include "typelib/type_desc_text.h"

namespace brannock::typelib {
namespace {

void AppendParamName(std::span<const TextView> names, size_t index, Text* out) {
  if (index + 1 < names.size()) {
    const TextView name = CleanView(names[index + 1]);
    if (!IsBlank(name)) {
      *out += name;
      return;
    }
  }
  *out += u"Param";
  AppendUInt(index + 1, out);
}

void AppendConstant(const VarDesc& desc, Text* out) {
  Text text;
  if (!desc.lpvarValue || desc.lpvarValue->vt == VT_NULL || Failed(VariantToText(*desc.lpvarValue, &text)))
    *out += u"<?>";
  else
    *out += text;
}

void AppendParamFlags(uint16_t flags, Text* out) {
  static constexpr struct {
    uint16_t flag;
    const char16_t* word;
  } kWords[] = {{ParamFlag::In, u"const "},
                {ParamFlag::Out, u"var "},
                {ParamFlag::Lcid, u"lcid "},
                {ParamFlag::RetVal, u"retval "},
                {ParamFlag::Opt, u"optional "}};
  for (const auto& w : kWords)
    if (flags & w.flag) *out += w.word;
}

void AppendDefault(const ParamDesc& desc, Text* out) {
  if (!(desc.wParamFlags & ParamFlag::HasDefault) || !desc.pparamdescex) return;
  const Variant& value = desc.pparamdescex->varDefaultValue;
  Text text;
  if (Failed(VariantToText(value, &text))) return;
  if (value.vt == VT_BSTR) {
    *out += u" = '";
    *out += text;
    *out += u"'";
  } else {
    *out += u" = ";
    *out += text;
  }
}

// Renders the members of one type; the records it reads members into are
// kept from one member to the next.
class MemberWriter {
 public:
  explicit MemberWriter(TypeInfo& info) : info_(info) {}

  // What follows a function's name, for a function whose names are `names`.
  void AppendFuncTail(const FuncDesc& desc, std::span<const TextView> names, Text* out) {
    // A library may claim more parameters than it describes; only described
    // ones are rendered.
    const size_t count = std::min<size_t>(std::max<int16_t>(desc.cParams, 0), desc.lprgelemdescParam.size());
    if (!names.empty() && count > 0) {
      *out += u"(";
      for (size_t i = 0; i < count; ++i) {
        const ElemDesc& param = desc.lprgelemdescParam[i];
        if (i > 0) *out += u"; ";
        AppendParamFlags(param.paramdesc.wParamFlags, out);
        AppendParamName(names, i, out);
        *out += u": ";
        AppendTypeDesc(param.tdesc, info_, out, &scratch_);
        AppendDefault(param.paramdesc, out);
      }
      *out += u")";
    }
    if (desc.elemdescFunc.tdesc.vt != VT_VOID) {
      *out += u": ";
      AppendTypeDesc(desc.elemdescFunc.tdesc, info_, out, &scratch_);
    }
    *out += u";";
    if (desc.funckind == FUNC_DISPATCH) {
      *out += u" dispid ";
      AppendInt(desc.memid, out);
      *out += u";";
    }
  }

  // VarDescToStr appended to `out`; false when the documentation cannot be read.
  bool AppendVar(const VarDesc& desc, Text* out) {
    if (Failed(info_.GetDocumentationViews(desc.memid, &docView_, &doc_))) return false;
    *out += CleanView(docView_.name);
    if (desc.varkind == VAR_CONST) {
      *out += u" = ";
      AppendConstant(desc, out);
    } else {
      *out += u": ";
      AppendTypeDesc(desc.elemdescVar.tdesc, info_, out, &scratch_);
    }
    *out += u";";
    return true;
  }

  void AddLines(const TypeAttr& attr, LineSink& lines) {
    const bool interfaceLike = IsInterfaceLike(attr.typekind);
    for (unsigned i = 0; i < attr.cVars; ++i) {
      if (HRESULT hr = info_.GetVarDesc(i, &var_); Failed(hr)) {
        lines.Add(FailureLine(hr));
        continue;
      }
      AddDocComment(var_.memid, lines);
      line_.clear();
      if (interfaceLike) line_ += u"property ";
      AppendVar(var_, &line_);  // a variable without documentation keeps just the prefix
      lines.Add(line_);
    }
    if (!interfaceLike) return;
    for (unsigned i = 0; i < attr.cFuncs; ++i) {
      if (HRESULT hr = info_.GetFuncDesc(i, &func_); Failed(hr)) {
        lines.Add(FailureLine(hr));
        continue;
      }
      // A function whose names cannot be read is left out; one for which the
      // library returns no names keeps its line, without a name or a
      // parameter list.
      if (Failed(info_.GetNameViews(func_.memid, &names_, kMaxNames, &nameStorage_))) continue;
      AddDocComment(func_.memid, lines);
      line_.clear();
      const uint16_t result = func_.elemdescFunc.tdesc.vt;
      line_ += result == VT_VOID || result == VT_HRESULT ? u"procedure " : u"function ";
      switch (func_.invkind) {
        case INVOKE_PROPERTYGET: line_ += u"Get_"; break;
        case INVOKE_PROPERTYPUT:
        case INVOKE_PROPERTYPUTREF: line_ += u"Set_"; break;
        default: break;
      }
      if (!names_.empty()) line_ += CleanView(names_[0]);
      AppendFuncTail(func_, names_, &line_);
      lines.Add(line_);
    }
  }

 private:
  static Text FailureLine(HRESULT hr) { return platform::ErrorCodeText(static_cast<uint32_t>(hr)); }

  void AddDocComment(MEMBERID memid, LineSink& lines) {
    if (Failed(info_.GetDocumentationViews(memid, &docView_, &doc_))) return;
    const TextView comment = CleanView(docView_.docString);
    if (IsBlank(comment)) return;
    line_.assign(u"// ");
    line_ += comment;
    lines.Add(line_);
  }

  TypeInfo& info_;
  DocumentationView docView_;
  Documentation doc_;  // what docView_ views, where the reader keeps no texts
  Documentation scratch_;
  FuncDesc func_;
  VarDesc var_;
  std::vector<TextView> names_;
  TextList nameStorage_;  // likewise for names_
  Text line_;
};

}  // namespace

ParamFlagsText ParamFlagsToStr(const ParamDesc& desc) {
  ParamFlagsText result;
  AppendParamFlags(desc.wParamFlags, &result.words);
  AppendDefault(desc, &result.defaultText);
  return result;
}

Text FuncDescToStr(const FuncDesc& desc, TypeInfo& owner) {
  TextList names;
  if (Failed(owner.GetNames(desc.memid, &names, kMaxNames))) names.clear();
  return FuncDescToStr(desc, names, owner);
}

Text FuncDescToStr(const FuncDesc& desc, const TextList& names, TypeInfo& owner) {
  Text text;
  const std::vector<TextView> views(names.begin(), names.end());
  MemberWriter(owner).AppendFuncTail(desc, views, &text);
  return text;
}

Text VarDescToStr(const VarDesc& desc, TypeInfo& owner) {
  Text text;
  MemberWriter(owner).AppendVar(desc, &text);
  return text;
}

void GetMemberLines(TypeInfo& info, const TypeAttr& attr, LineSink& lines) { MemberWriter(info).AddLines(attr, lines); }

void GetMemberLines(TypeInfo& info, const TypeAttr& attr, TextList* lines) {
  LineListSink sink(lines);
  GetMemberLines(info, attr, sink);
}

}  // namespace brannock::typelib
