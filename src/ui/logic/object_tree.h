// The object tree's rules that need no widget: the node record, the four
// roots, the order of the children, the incremental search match test and
// the image numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include "catalogue/object_data.h"
#include "catalogue/object_kinds.h"
#include "common/text.h"

namespace brannock::ui {

// The record each node of the object tree carries.
struct TObjectNode {
  brannock::Text Text;
  TObjectType Typ = TObjectType::otCLSID;
  int32_t Index = 0;
  brannock::Text Server;
};

// The object a node below a root names in its kind's list, with the node's
// kind; nothing when its entry is gone (the list was read anew without
// rebuilding the tree).
std::optional<TObjectData> NodeObject(const TObjects& list, const TObjectNode& node);

struct RootInfo {
  const char16_t* caption;
  TObjectType typ;
};

constexpr RootInfo RootOfKind(TObjectType typ) { return {KindOf(typ).rootCaption, typ}; }

// In the order the roots are created and shown (their captions are the
// kinds', catalogue/object_kinds.h); the roots are never sorted.
inline constexpr std::array<RootInfo, 4> kRoots = {RootOfKind(kTreeOrder[0]), RootOfKind(kTreeOrder[1]),
                                                   RootOfKind(kTreeOrder[2]), RootOfKind(kTreeOrder[3])};

// 1 when the first text, with A to Z lower-cased, is greater by UTF-16 code
// units than the second; 0 otherwise (also when smaller).
int TreeCompareNodes(TextView text1, TextView text2);

// The positions 0..n-1 of the texts in the order of a stable merge sort by
// TreeCompareNodes: ascending, equal texts keep their list order.
std::vector<int32_t> SortedChildOrder(const std::vector<TextView>& texts);

// 0 when the node's text and the search text agree over the shorter of the
// two lengths (a to z folded onto A to Z); otherwise the difference of the
// first unequal characters.
int TreeIncrementalSearch(TextView nodeText, TextView searchText);

// The position of the first node, from `start` forward and then round from
// the first node, whose text matches the search text; nothing when none does.
std::optional<size_t> FindIncremental(const std::vector<TextView>& texts, size_t start, TextView searchText);

// Image numbers of img16: a root shows its collection's folder (the kind's
// rootImage), an object its collection's emblem (rootImage + 4).
int TreeGetImageIndex(bool isRoot, TObjectType typ);

// What image `index` (0 to kTreeImageCount - 1) of img16 shows: a folder
// with the emblem of the kind whose rootImage it is, or, from 4 on, that
// emblem alone.
inline constexpr int kTreeImageCount = 8;
struct TreeImage {
  bool folder;
  ObjectEmblem emblem;
};
TreeImage TreeImageOf(int index);

// The window's field that holds the root of `typ`'s collection. Both
// windows keep their roots in fields named OCRoot, TLRoot, AIRoot and
// IFRoot (in TObjectType order here).
template <class Window>
auto& RootField(Window& window, TObjectType typ) {
  using Plain = std::remove_const_t<Window>;
  constexpr std::array fields{&Plain::OCRoot, &Plain::TLRoot, &Plain::AIRoot, &Plain::IFRoot};
  static_assert(fields.size() == kObjectKinds.size());
  return window.*fields[static_cast<size_t>(typ)];
}

}  // namespace brannock::ui
