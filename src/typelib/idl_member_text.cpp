#include "typelib/idl_member_text.h"

#include <algorithm>

#include "common/text_rules.h"
#include "platform/messages.h"
#include "typelib/idl_type_desc_text.h"
#include "typelib/text_parts.h"
#include "typelib/idl_value_text.h"

namespace brannock::typelib {
namespace {

struct FlagWord {
  uint16_t flag;
  const char16_t* word;
};

constexpr FlagWord kFuncFlagWords[] = {
    {0x1, u"restricted"},      {0x2, u"source"},        {0x4, u"bindable"},         {0x8, u"requestedit"},
    {0x10, u"displaybind"},    {0x20, u"defaultbind"},  {0x40, u"hidden"},          {0x80, u"usesgetlasterror"},
    {0x100, u"defaultcollelem"}, {0x200, u"uidefault"}, {0x400, u"nonbrowsable"},   {0x800, u"replaceable"},
    {0x1000, u"immediatebind"}};

constexpr FlagWord kVarFlagWords[] = {
    {0x1, u"readonly"},        {0x2, u"source"},        {0x4, u"bindable"},         {0x8, u"requestedit"},
    {0x10, u"displaybind"},    {0x20, u"defaultbind"},  {0x40, u"hidden"},          {0x80, u"restricted"},
    {0x100, u"defaultcollelem"}, {0x200, u"uidefault"}, {0x400, u"nonbrowsable"},   {0x800, u"replaceable"},
    {0x1000, u"immediatebind"}};

void AppendWords(uint16_t flags, const FlagWord* begin, const FlagWord* end, Text* out) {
  for (const FlagWord* w = begin; w != end; ++w)
    if (flags & w->flag) {
      *out += w->word;
      *out += u", ";
    }
}

// "[a, b] " from attribute words each followed by ", "; nothing when empty.
void CloseAttributes(Text* attributes) {
  if (attributes->empty()) return;
  attributes->resize(attributes->size() - 2);
  attributes->insert(0, u"[");
  *attributes += u"] ";
}

void AppendDocumentation(const Documentation& doc, Text* attributes) {
  const TextView help = CleanView(doc.docString);
  if (!help.empty()) {
    *attributes += u"helpstring(";
    AppendIdlString(help, attributes);
    *attributes += u"), ";
  }
  if (doc.helpContext != 0) {
    *attributes += u"helpcontext(";
    AppendIdlHex(doc.helpContext, attributes);
    *attributes += u"), ";
  }
}

const char16_t* CallingConvention(int32_t callconv) {
  switch (callconv) {
    case 1: return u"__cdecl ";
    case 2: return u"__pascal ";
    case 4: return u"__stdcall ";
    default: return u"";
  }
}

class IdlMemberWriter {
 public:
  IdlMemberWriter(TypeInfo& info, const TypeAttr& attr, IdlContext& context, const Text& indent)
      : info_(info), attr_(attr), context_(context), indent_(indent) {}

  void AddVariables(TextList* lines) {
    size_t lastConstant = lines->size();
    for (unsigned i = 0; i < attr_.cVars; ++i) {
      VarDesc var;
      HRESULT hr = info_.GetVarDesc(i, &var);
      Documentation doc;
      if (Succeeded(hr)) hr = info_.GetDocumentation(var.memid, &doc);
      if (Failed(hr)) {
        lines->push_back(IdlFailureLine(indent_, hr));
        continue;
      }
      Text attributes;
      if (attr_.typekind == TKIND_DISPATCH || attr_.typekind == TKIND_INTERFACE) IdAttribute(var.memid, &attributes);
      AppendDocumentation(doc, &attributes);
      AppendVarFlagWords(var.wVarFlags, &attributes);
      CloseAttributes(&attributes);
      Text line = indent_ + attributes;
      const Text name(CleanView(doc.name));
      if (attr_.typekind == TKIND_ENUM) {
        line += name + u" = ";
        AppendConstant(var, &line);
        line += u",";
        lastConstant = lines->size();
      } else {
        Text type, suffix;
        AppendIdlType(var.elemdescVar.tdesc, info_, context_, &type, &suffix);
        if (var.varkind == VAR_CONST) {
          line += u"const " + type + u" " + name + suffix + u" = ";
          AppendConstant(var, &line);
        } else {
          line += type + u" " + name + suffix;
        }
        line += u";";
      }
      lines->push_back(std::move(line));
    }
    // The last constant of an enumeration has no comma.
    if (attr_.typekind == TKIND_ENUM && lastConstant < lines->size()) (*lines)[lastConstant].pop_back();
  }

  bool AddFunctions(TextList* lines) {
    for (unsigned i = 0; i < attr_.cFuncs; ++i) {
      FuncDesc func;
      TextList names;
      HRESULT hr = info_.GetFuncDesc(i, &func);
      if (Succeeded(hr)) hr = info_.GetNames(func.memid, &names, kMaxNames);
      if (Succeeded(hr) && names.empty()) hr = Code::TypeElementNotFound;
      if (Failed(hr)) {
        lines->push_back(IdlFailureLine(indent_, hr));
        continue;
      }
      lines->push_back(FunctionLine(func, names));
    }
    return voidPointer_;
  }

 private:
  void IdAttribute(MEMBERID memid, Text* attributes) {
    *attributes += u"id(";
    AppendIdlHex(static_cast<uint32_t>(memid), attributes);
    *attributes += u"), ";
  }

  static void AppendConstant(const VarDesc& var, Text* out) {
    if (var.lpvarValue)
      AppendIdlValue(*var.lpvarValue, out);
    else
      *out += u"0 /* no value */";
  }

  Text FunctionLine(const FuncDesc& func, const TextList& names) {
    const bool module = attr_.typekind == TKIND_MODULE;
    Text attributes;
    if (module) {
      EntryAttribute(func, &attributes);
    } else {
      IdAttribute(func.memid, &attributes);
    }
    switch (func.invkind) {
      case INVOKE_PROPERTYGET: attributes += u"propget, "; break;
      case INVOKE_PROPERTYPUT: attributes += u"propput, "; break;
      case INVOKE_PROPERTYPUTREF: attributes += u"propputref, "; break;
      default: break;
    }
    if (func.cParamsOpt == -1) attributes += u"vararg, ";
    Documentation doc;
    if (Succeeded(info_.GetDocumentation(func.memid, &doc))) AppendDocumentation(doc, &attributes);
    AppendFuncFlagWords(func.wFuncFlags, &attributes);
    CloseAttributes(&attributes);

    Text result, resultSuffix;
    AppendIdlType(func.elemdescFunc.tdesc, info_, context_, &result, &resultSuffix);
    if (HoldsVoidPointer(func.elemdescFunc.tdesc)) voidPointer_ = true;
    Text line = indent_ + attributes + result + u" ";
    if (module) line += CallingConvention(func.callconv);
    line += CleanView(names[0]);
    line += u"(";
    const size_t count = std::min<size_t>(std::max<int16_t>(func.cParams, 0), func.lprgelemdescParam.size());
    for (size_t p = 0; p < count; ++p) {
      if (p > 0) line += u", ";
      AppendParameter(func.lprgelemdescParam[p], names, p, &line);
    }
    line += u");";
    return line;
  }

  void EntryAttribute(const FuncDesc& func, Text* attributes) {
    Text dll, entry;
    uint16_t ordinal = 0xFFFF;
    if (Failed(info_.GetDllEntry(func.memid, func.invkind, &dll, &entry, &ordinal))) return;
    const TextView name = CleanView(entry);
    if (!name.empty()) {
      *attributes += u"entry(";
      AppendIdlString(name, attributes);
      *attributes += u"), ";
    } else if (ordinal != 0xFFFF) {
      *attributes += u"entry(" + UIntToText(ordinal) + u"), ";
    }
  }

  void AppendParameter(const ElemDesc& param, const TextList& names, size_t index, Text* line) {
    const uint16_t flags = param.paramdesc.wParamFlags;
    Text attributes;
    if (flags & ParamFlag::In) attributes += u"in, ";
    if (flags & ParamFlag::Out) attributes += u"out, ";
    if (flags & ParamFlag::Lcid) attributes += u"lcid, ";
    if (flags & ParamFlag::RetVal) attributes += u"retval, ";
    if (flags & ParamFlag::Opt) attributes += u"optional, ";
    if ((flags & ParamFlag::HasDefault) && param.paramdesc.pparamdescex) {
      attributes += u"defaultvalue(";
      AppendIdlValue(param.paramdesc.pparamdescex->varDefaultValue, &attributes);
      attributes += u"), ";
    }
    CloseAttributes(&attributes);
    Text type, suffix;
    AppendIdlType(param.tdesc, info_, context_, &type, &suffix);
    if (HoldsVoidPointer(param.tdesc)) voidPointer_ = true;
    *line += attributes + type + u" ";
    const TextView name = index + 1 < names.size() ? CleanView(names[index + 1]) : TextView();
    if (IsBlank(name))
      *line += u"Param" + UIntToText(index + 1);
    else
      *line += name;
    *line += suffix;
  }

  TypeInfo& info_;
  const TypeAttr& attr_;
  IdlContext& context_;
  const Text& indent_;
  bool voidPointer_ = false;
};

}  // namespace

Text IdlFailureLine(const Text& indent, HRESULT hr) {
  return indent + u"// " + platform::ErrorCodeText(static_cast<uint32_t>(hr));
}

void AppendFuncFlagWords(uint16_t flags, Text* out) {
  AppendWords(flags, std::begin(kFuncFlagWords), std::end(kFuncFlagWords), out);
}

void AppendVarFlagWords(uint16_t flags, Text* out) {
  AppendWords(flags, std::begin(kVarFlagWords), std::end(kVarFlagWords), out);
}

void AddIdlVariables(TypeInfo& info, const TypeAttr& attr, IdlContext& context, const Text& indent, TextList* lines) {
  IdlMemberWriter(info, attr, context, indent).AddVariables(lines);
}

bool AddIdlFunctions(TypeInfo& info, const TypeAttr& attr, IdlContext& context, const Text& indent, TextList* lines) {
  return IdlMemberWriter(info, attr, context, indent).AddFunctions(lines);
}

}  // namespace brannock::typelib
