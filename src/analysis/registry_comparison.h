// Two registries compared as catalogues: which objects an installation
// added, which it removed, and which it changed, each with its registry
// lines (the detail pane's) marked where they differ. The command line and
// both windows show this one result.
#pragma once

#include <array>
#include <vector>

#include "analysis/line_diff.h"
#include "catalogue/object_data.h"
#include "registry/registry_backend.h"

namespace brannock::analysis {

enum class ObjectChange : uint8_t { Added, Removed, Changed };

// "added", "removed", "changed".
Text ObjectChangeName(ObjectChange change);

struct ObjectDifference {
  TObjectType typ = TObjectType::otCLSID;
  ObjectChange change = ObjectChange::Changed;
  // As the later registry has them; an object it no longer has keeps the
  // earlier one's.
  Text guid;
  Text name;
  // The object's registry lines: all added for an added object, all
  // removed for a removed one, and for a changed one the lines of both
  // versions merged with their marks.
  std::vector<DiffLine> lines;
};

struct ComparisonCounts {
  size_t added = 0;
  size_t removed = 0;
  size_t changed = 0;

  size_t Total() const { return added + removed + changed; }
  void Count(ObjectChange change);
};

struct RegistryComparison {
  // One list per collection, indexed by TObjectType: the added objects in
  // the later registry's order, then the removed ones in the earlier
  // registry's order, then the changed ones in the later registry's order
  // (enumeration order, which is the order of their GUIDs).
  std::array<std::vector<ObjectDifference>, 4> collections;
  std::array<ComparisonCounts, 4> countsOf{};
  ComparisonCounts counts;

  const std::vector<ObjectDifference>& Of(TObjectType typ) const { return collections[static_cast<size_t>(typ)]; }
  bool Differs() const { return counts.Total() > 0; }
};

// Compares the earlier registry `before` with the later one `now`, object by
// object: objects are the same when their GUIDs are (in any letter case),
// and an object changed when its registry lines differ. Both backends must
// show the same view (the caller wraps both in it); REG_EXPAND_SZ texts are
// compared as stored, not expanded, so that two machines' environments make
// no difference. Binary values compare as hex bytes. Key paths that name a
// whole collection (a class whose ProgID is "CLSID") are left out of an
// object's lines. A registry error of a
// list builder is raised; one while an object's lines are built ends its
// lines with a line naming the error.
RegistryComparison CompareRegistries(registry::RegistryBackend& before, registry::RegistryBackend& now);

// The stores of two sources compared in `view`; raises an Error when either
// lacks the view (a prefix of 32-bit Windows has no 64-bit one).
RegistryComparison CompareInView(registry::RegistryBackend& before, registry::RegistryBackend& now,
                                 registry::RegistryView view);

}  // namespace brannock::analysis
