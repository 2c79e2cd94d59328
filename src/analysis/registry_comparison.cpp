#include "analysis/registry_comparison.h"

#include <algorithm>
#include <unordered_map>

#include "catalogue/catalogue.h"
#include "catalogue/object_kinds.h"
#include "catalogue/registry_tree_builder.h"
#include "registry/registry_error.h"
#include "registry/registry_reader.h"
#include "registry/viewed_registry.h"

namespace brannock::analysis {

using registry::RegistryBackend;
using registry::RegistryReader;

namespace {

// A registry as the comparison reads it: with no environment, so that
// ExpandWithEntries leaves every %NAME% of a REG_EXPAND_SZ text as written.
class StoredTextRegistry : public RegistryBackend {
 public:
  explicit StoredTextRegistry(RegistryBackend& inner) : inner_(&inner) {}
  std::unique_ptr<registry::OpenedKey> Open(registry::RootKey root, TextView path, uint32_t access) override {
    return inner_->Open(root, path, access);
  }
  bool RunsUnderWow64() const override { return inner_->RunsUnderWow64(); }
  registry::RegistryView MachineView() const override { return inner_->MachineView(); }
  TextList WindowsEnvironment() const override { return {}; }

 private:
  RegistryBackend* inner_;
};

// Whether a key path names a whole collection ("CLSID", "interface\\"): a
// ProgID, TypeLib or AppID value may (the class moniker's ProgID is
// "clsid"), and the pane then shows the collection's first keys. Such a path
// is left out of an object's compared lines: it would make the object change
// with every object added to or removed from the collection, which is
// compared in its own right.
bool NamesACollection(TextView path) {
  while (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  return std::any_of(kObjectKinds.begin(), kObjectKinds.end(),
                     [&](const ObjectKind& kind) { return EqualsNoCase(path, kind.keyName); });
}

// The key paths of an object's compared lines.
TextList ComparedPaths(const TObjectData& rec) {
  TextList paths = RegistryTreePaths(rec);
  std::erase_if(paths, [](const Text& path) { return NamesACollection(path); });
  return paths;
}

// One registry of the two: its catalogue, read without any environment.
struct Side {
  explicit Side(RegistryBackend& backend) : registry(backend), catalogue(registry) {}

  // The object's lines as its pane shows them, hex switch on, without the
  // paths that name a whole collection. A registry error ends them with a
  // line that names it.
  std::vector<RegLine> Lines(TObjectData rec) {
    RegistryTreeBuilder builder(registry, true);
    try {
      catalogue.Resolve(rec);
      for (const Text& path : ComparedPaths(rec)) builder.FillRegistryTree(path);
    } catch (const registry::RegistryError& e) {
      std::vector<RegLine> lines = builder.TakeLines();
      lines.push_back(RegLine{u"Error: " + e.Message()});
      return lines;
    }
    return builder.TakeLines();
  }

  StoredTextRegistry registry;
  Catalogue catalogue;
};

bool SameData(RegistryReader& a, RegistryReader& b, const Text& name) {
  uint32_t typeA = 0;
  uint32_t typeB = 0;
  registry::Bytes dataA;
  registry::Bytes dataB;
  const bool hasA = a.GetData(name, &typeA, &dataA);
  const bool hasB = b.GetData(name, &typeB, &dataB);
  return hasA == hasB && typeA == typeB && dataA == dataB;
}

// Whether the key path holds the same keys, names and value data in both
// registries (both missing counts as the same). Equal trees give equal
// lines; the converse need not hold, so a difference here is only a
// candidate for a change.
bool SameTree(RegistryBackend& a, RegistryBackend& b, const Text& top) {
  RegistryReader readerA = RegistryReader::ProcessView(a);
  RegistryReader readerB = RegistryReader::ProcessView(b);
  const int topDepth = static_cast<int>(std::count(top.begin(), top.end(), u'\\')) + 1;
  std::vector<std::pair<Text, int>> work{{top, topDepth}};
  TextList namesA;
  TextList namesB;
  while (!work.empty()) {
    const auto [path, depth] = std::move(work.back());
    work.pop_back();
    const bool openA = readerA.OpenKeyReadOnly(path);
    if (openA != readerB.OpenKeyReadOnly(path)) return false;
    if (!openA) continue;
    readerA.GetValueNames(namesA);
    readerB.GetValueNames(namesB);
    if (namesA != namesB) return false;
    for (const Text& name : namesA)
      if (!SameData(readerA, readerB, name)) return false;
    if (depth >= registry::kMaxKeyDepth) continue;
    readerA.GetKeyNames(namesA);
    readerB.GetKeyNames(namesB);
    if (namesA != namesB) return false;
    for (const Text& name : namesA) work.emplace_back(path + u"\\" + name, depth + 1);
  }
  return true;
}

class Comparer {
 public:
  Comparer(RegistryBackend& before, RegistryBackend& now) : before_(before), now_(now) {}

  void Compare(TObjectType typ, RegistryComparison& result) {
    TObjects earlier;
    TObjects later;
    before_.catalogue.ReadList(typ, earlier);
    now_.catalogue.ReadList(typ, later);

    std::unordered_map<Text, size_t> earlierAt;
    earlierAt.reserve(earlier.size());
    for (size_t i = 0; i < earlier.size(); ++i) earlierAt.emplace(UpperAscii(earlier[i].GUID), i);
    std::vector<bool> matched(earlier.size(), false);

    std::vector<ObjectDifference> added;
    std::vector<ObjectDifference> changed;
    for (TObjectData& rec : later) {
      auto it = earlierAt.find(UpperAscii(rec.GUID));
      if (it == earlierAt.end()) {
        added.push_back(Difference(rec, ObjectChange::Added, MarkAll(now_.Lines(rec), LineMark::Added)));
        continue;
      }
      matched[it->second] = true;
      if (Unchanged(earlier[it->second], rec)) continue;
      std::vector<DiffLine> lines = DiffLines(before_.Lines(earlier[it->second]), now_.Lines(rec));
      if (HasChanges(lines)) changed.push_back(Difference(rec, ObjectChange::Changed, std::move(lines)));
    }
    std::vector<ObjectDifference>& out = result.collections[static_cast<size_t>(typ)];
    out = std::move(added);
    for (size_t i = 0; i < earlier.size(); ++i) {
      if (matched[i]) continue;
      out.push_back(Difference(earlier[i], ObjectChange::Removed, MarkAll(before_.Lines(earlier[i]), LineMark::Removed)));
    }
    std::move(changed.begin(), changed.end(), std::back_inserter(out));
    for (const ObjectDifference& d : out) {
      result.countsOf[static_cast<size_t>(typ)].Count(d.change);
      result.counts.Count(d.change);
    }
  }

 private:
  static ObjectDifference Difference(const TObjectData& rec, ObjectChange change, std::vector<DiffLine> lines) {
    return ObjectDifference{rec.Typ, change, rec.GUID, rec.Name, std::move(lines)};
  }

  // True when the object's lines are certainly the same: its own key is
  // the same tree in both, so its record resolves alike, and so is every
  // other key its lines follow (each compared once, whoever names it).
  bool Unchanged(const TObjectData& earlier, const TObjectData& later) {
    const Text own = KeyRootOf(later.Typ) + u"\\" + later.GUID;
    if (earlier.GUID != later.GUID || earlier.Name != later.Name) return false;
    if (!SameTree(before_.registry, now_.registry, own)) return false;
    TObjectData rec = later;
    try {
      now_.catalogue.Resolve(rec);
    } catch (const registry::RegistryError&) {
      return false;
    }
    const TextList paths = ComparedPaths(rec);
    for (size_t i = 1; i < paths.size(); ++i) {
      auto [it, fresh] = sameKey_.try_emplace(UpperAscii(paths[i]), false);
      if (fresh) it->second = SameTree(before_.registry, now_.registry, paths[i]);
      if (!it->second) return false;
    }
    return true;
  }

  Side before_;
  Side now_;
  // Keys named by objects' lines (type libraries, classes, ProgIDs, AppIDs)
  // whose trees were compared, by upper-cased path.
  std::unordered_map<Text, bool> sameKey_;
};

}  // namespace

Text ObjectChangeName(ObjectChange change) {
  switch (change) {
    case ObjectChange::Added: return u"added";
    case ObjectChange::Removed: return u"removed";
    case ObjectChange::Changed: return u"changed";
  }
  return Text();
}

void ComparisonCounts::Count(ObjectChange change) {
  switch (change) {
    case ObjectChange::Added: ++added; break;
    case ObjectChange::Removed: ++removed; break;
    case ObjectChange::Changed: ++changed; break;
  }
}

RegistryComparison CompareRegistries(RegistryBackend& before, RegistryBackend& now) {
  RegistryComparison result;
  Comparer comparer(before, now);
  for (const ObjectKind& kind : kObjectKinds) comparer.Compare(kind.typ, result);
  return result;
}

RegistryComparison CompareInView(RegistryBackend& before, RegistryBackend& now, registry::RegistryView view) {
  registry::RequireView(before, view);
  registry::RequireView(now, view);
  registry::ViewedRegistry earlierViewed(before, view);
  registry::ViewedRegistry nowViewed(now, view);
  return CompareRegistries(earlierViewed, nowViewed);
}

}  // namespace brannock::analysis
