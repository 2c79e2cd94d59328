// brannock-dual-functions: the own functions of every dual interface of a
// type library, read from its interface (vtable) view and written as the
// dispatch view of a unit shows them. Built for Windows, it asks oleaut32;
// the Wine stage runs it under Wine to check the functions that the reader
// describes in a dispatch view whose bases Wine cannot load
// (scripts/render-known-differences.pl, class unloadable-base), with
// something other than the reader itself.
//   brannock-dual-functions LIBRARY
// For each dual: a line "dual {GUID}", then its functions' lines (a
// documentation comment before a function that has one), indented as in a
// unit. Exit status 1 when the library does not load.
#include <cstdio>
#include <string>
#include <vector>

#include "common/guid.h"
#include "common/text_rules.h"
#include "typelib/loader.h"
#include "typelib/member_text.h"

using namespace brannock;
using namespace brannock::typelib;

namespace {

// The function as a caller of IDispatch::Invoke sees it: no [lcid]
// parameter, a final [out, retval] parameter as the result (one pointer
// less), an HRESULT without one as no result.
void AsDispatchFunction(FuncDesc* d, TextList* names) {
  d->funckind = FUNC_DISPATCH;
  auto& params = d->lprgelemdescParam;
  for (size_t i = params.size(); i-- > 0;) {
    if ((params[i].paramdesc.wParamFlags & ParamFlag::Lcid) == 0) continue;
    params.erase(params.begin() + static_cast<std::ptrdiff_t>(i));
    if (names->size() > i + 1) names->erase(names->begin() + static_cast<std::ptrdiff_t>(i + 1));
  }
  if (!params.empty() && (params.back().paramdesc.wParamFlags & ParamFlag::RetVal) != 0) {
    const TypeDesc result = params.back().tdesc;
    d->elemdescFunc.tdesc = result.vt == VT_PTR && result.lptdesc ? *result.lptdesc : result;
    params.pop_back();
    if (names->size() > params.size() + 1) names->resize(params.size() + 1);
  } else if (d->elemdescFunc.tdesc.vt == VT_HRESULT) {
    d->elemdescFunc.tdesc = TypeDesc{};
    d->elemdescFunc.tdesc.vt = VT_VOID;
  }
  d->cParams = static_cast<int16_t>(params.size());
}

void Print(const Text& line) { std::printf("%s\n", Utf16ToUtf8(line).c_str()); }

struct Function {
  FuncDesc desc;
  TextList names;
  Text comment;
};

// The dispatch lines of the interface view's own functions; false when
// oleaut32 does not describe one. A dispatch view answers GetNames for a
// member ID with the names of its first function (a property's get before
// its put), in the dispatch form: so do these lines.
bool PrintFunctions(TypeInfo& view) {
  TypeAttr attr;
  if (Failed(view.GetTypeAttr(&attr))) return false;
  std::vector<Function> functions(attr.cFuncs);
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    Function& f = functions[i];
    if (Failed(view.GetFuncDesc(i, &f.desc)) || Failed(view.GetNames(f.desc.memid, &f.names, 0xFFFF))) return false;
    Documentation doc;
    if (Succeeded(view.GetDocumentation(f.desc.memid, &doc))) f.comment = doc.docString.substr(0, doc.docString.find(u'\0'));
    AsDispatchFunction(&f.desc, &f.names);
  }
  for (const Function& f : functions) {
    const TextList* names = &f.names;
    for (const Function& first : functions) {
      if (first.desc.memid != f.desc.memid) continue;
      names = &first.names;
      break;
    }
    if (!IsBlank(f.comment)) Print(u"    // " + f.comment);
    const uint16_t result = f.desc.elemdescFunc.tdesc.vt;
    Text line = result == VT_VOID || result == VT_HRESULT ? u"    procedure " : u"    function ";
    if (f.desc.invkind == INVOKE_PROPERTYGET) line += u"Get_";
    if (f.desc.invkind == INVOKE_PROPERTYPUT || f.desc.invkind == INVOKE_PROPERTYPUTREF) line += u"Set_";
    if (!names->empty()) line += (*names)[0].substr(0, (*names)[0].find(u'\0'));
    Print(line + FuncDescToStr(f.desc, *names, view));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: brannock-dual-functions LIBRARY\n");
    return 2;
  }
  std::unique_ptr<TypeLibLoader> loader = CreateTypeLibLoader(nullptr, {});
  std::shared_ptr<TypeLib> lib;
  if (!loader || Failed(loader->LoadTypeLib(Utf8ToUtf16(argv[1]), &lib))) {
    std::fprintf(stderr, "brannock-dual-functions: %s does not load\n", argv[1]);
    return 1;
  }
  for (unsigned i = 0; i < lib->GetTypeInfoCount(); ++i) {
    std::shared_ptr<TypeInfo> info, view;
    TypeAttr attr;
    HREFTYPE href = 0;
    if (Failed(lib->GetTypeInfo(i, &info)) || Failed(info->GetTypeAttr(&attr)) || attr.typekind != TKIND_DISPATCH ||
        (attr.wTypeFlags & TypeFlag::Dual) == 0)
      continue;
    Print(u"dual " + GuidToText(attr.guid));
    if (Failed(info->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href)) ||
        Failed(info->GetRefTypeInfo(href, &view)) || !PrintFunctions(*view))
      Print(u"    (not described)");
  }
  return 0;
}
