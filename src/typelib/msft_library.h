// Internals shared by the MSFT reader's type library, type info and dual
// interface dispatch view.
#pragma once

#include <map>
#include <optional>
#include <utility>

#include "typelib/msft_reader.h"

namespace brannock::typelib::msft {

// One function of a dual interface's dispatch view. `present` is false for
// an inherited function whose base type could not be reached.
struct ViewFunc {
  bool present = false;
  FuncModel model;
};

struct DispatchView {
  std::vector<ViewFunc> funcs;
  ParamList params;  // the parameters of `funcs`
  MemberIndex funcByMemid;  // first present function of each id
  // Types referenced by inherited functions of other libraries: href
  // ((i << 2) | 3) in this view stands for (owner, href) at index i.
  std::vector<std::pair<std::shared_ptr<TypeInfo>, HREFTYPE>> foreignRefs;
};

// Views of a stored type; only a dual interface has two.
enum class View { Default, InterfaceOfDual };

constexpr HREFTYPE kInterfaceViewBit = 2;
constexpr HREFTYPE kForeignRefBits = 3;

struct GuidHash {
  size_t operator()(const Guid& g) const {
    return g.Data1 ^ (size_t{g.Data2} << 16) ^ g.Data3 ^ (size_t{g.Data4[7]} << 24);
  }
};

struct LibCore : std::enable_shared_from_this<LibCore> {
  LibModel model;
  ImportResolver resolver;
  std::vector<std::optional<std::pair<HRESULT, std::shared_ptr<TypeLib>>>> importedLibs;
  std::vector<std::shared_ptr<const DispatchView>> dispatchViews;
  // What a base of another library (and its bases) gives a dispatch view
  // that starts with it, by the base's href and its depth in the chain:
  // every dual interface of a library starts with the same IDispatch.
  std::map<std::pair<HREFTYPE, int>, DispatchView> foreignBases;
  // The type infos handed out, made on first use: [0] the default views,
  // [1] the interface views of dual interfaces.
  std::vector<std::unique_ptr<TypeInfo>> typeInfos[2];
  std::unordered_map<Guid, size_t, GuidHash> typeByGuid;
  Text libraryFile;  // the name the library was loaded under; empty when read from bytes

  std::shared_ptr<TypeInfo> MakeTypeInfo(size_t index, View view);
  HRESULT ResolveHref(HREFTYPE href, std::shared_ptr<TypeInfo>* info);
  HRESULT ImportedLibrary(size_t index, std::shared_ptr<TypeLib>* lib);
  const DispatchView& DispatchViewOf(size_t index);
  void TypeDocumentation(size_t index, Documentation* doc) const;
};

// Builds the dispatch view of the dual interface at `index`.
DispatchView BuildDispatchView(LibCore& core, size_t index);

}  // namespace brannock::typelib::msft
