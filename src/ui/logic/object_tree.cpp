#include "ui/logic/object_tree.h"

#include "catalogue/object_kinds.h"

#include <algorithm>
#include <numeric>

namespace brannock::ui {

int TreeCompareNodes(TextView text1, TextView text2) {
  return LowerAscii(text1) > LowerAscii(text2) ? 1 : 0;
}

std::vector<int32_t> SortedChildOrder(const std::vector<TextView>& texts) {
  // The keys are folded once; stable_sort keeps equal keys in list order,
  // as the merge that takes the second node only when the first is greater.
  std::vector<Text> keys;
  keys.reserve(texts.size());
  for (TextView t : texts) keys.push_back(LowerAscii(t));
  std::vector<int32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return keys[b] > keys[a]; });
  return order;
}

int TreeIncrementalSearch(TextView nodeText, TextView searchText) {
  const size_t n = std::min(nodeText.size(), searchText.size());
  for (size_t i = 0; i < n; ++i) {
    const int a = UpperAscii(nodeText[i]);
    const int b = UpperAscii(searchText[i]);
    if (a != b) return a - b;
  }
  return 0;
}

std::optional<size_t> FindIncremental(const std::vector<TextView>& texts, size_t start, TextView searchText) {
  const size_t n = texts.size();
  if (n == 0) return std::nullopt;
  if (start >= n) start = 0;
  for (size_t k = 0; k < n; ++k) {
    const size_t i = (start + k) % n;
    if (TreeIncrementalSearch(texts[i], searchText) == 0) return i;
  }
  return std::nullopt;
}

int TreeGetImageIndex(bool isRoot, TObjectType typ) {
  return KindOf(typ).rootImage + (isRoot ? 0 : 4);
}

std::optional<TObjectData> NodeObject(const TObjects& list, const TObjectNode& node) {
  if (node.Index < 0 || static_cast<size_t>(node.Index) >= list.size()) return std::nullopt;
  TObjectData copy = list[static_cast<size_t>(node.Index)];
  copy.Typ = node.Typ;
  return copy;
}

TreeImage TreeImageOf(int index) {
  for (const ObjectKind& kind : kObjectKinds)
    if (kind.rootImage == index % 4) return {index < 4, kind.emblem};
  return {index < 4, ObjectEmblem::Object};
}

}  // namespace brannock::ui
