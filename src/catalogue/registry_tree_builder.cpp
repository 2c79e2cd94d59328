#include "catalogue/registry_tree_builder.h"

#include <algorithm>

#include "catalogue/object_kinds.h"
#include "common/text_rules.h"
#include "registry/registry_reader.h"
#include "registry/value_text.h"

namespace brannock {

using registry::RegistryReader;
using registry::RootKey;

Text KeyRootOf(TObjectType typ) { return KindOf(typ).keyName; }

TextList RegistryTreePaths(const TObjectData& s) {
  TextList paths{KeyRootOf(s.Typ) + u"\\" + s.GUID};
  if (!IsBlank(s.CLSID) && s.Typ != TObjectType::otCLSID) paths.push_back(u"CLSID\\" + s.CLSID);
  if (!IsBlank(s.TypeLib) && s.Typ != TObjectType::otTypeLib) paths.push_back(u"TypeLib\\" + s.TypeLib);
  if (!IsBlank(s.AppId) && s.Typ != TObjectType::otAppID) paths.push_back(u"AppID\\" + s.AppId);
  if (!IsBlank(s.ProgId)) paths.push_back(s.ProgId);
  return paths;
}

Text RegKeyName(TextView keyPath) {
  const size_t cut = keyPath.find_last_of(u"\\:");
  return Text(cut == TextView::npos ? keyPath : keyPath.substr(cut + 1));
}

RegistryTreeBuilder::RegistryTreeBuilder(registry::RegistryBackend& backend, bool asHex)
    : backend_(&backend), asHex_(asHex) {}

int RegistryTreeBuilder::AddLine(int parent, Text text) {
  const int level = parent < 0 ? 0 : lines_[static_cast<size_t>(parent)].level + 1;
  lines_.push_back(RegLine{std::move(text), parent, level});
  return static_cast<int>(lines_.size() - 1);
}

void RegistryTreeBuilder::FillRegistryTree(TextView keyPath) {
  TextView tested = keyPath;
  if (!tested.empty() && tested.back() == u'\\') tested.remove_suffix(1);
  // The root is never followed: it would list the whole registry.
  if (tested.find_first_not_of(u'\\') == TextView::npos) return;
  if (!RegistryReader::ProcessView(*backend_).KeyExists(tested)) return;
  pathStart_ = lines_.size();
  leftOut_ = 0;

  int parent = -1;
  TextView rest = tested;
  for (size_t slash = rest.find(u'\\'); slash != TextView::npos && !IsBlank(rest); slash = rest.find(u'\\')) {
    parent = AddLine(parent, Text(rest.substr(0, slash)));
    rest.remove_prefix(slash + 1);
  }
  AddRegistryKey(parent, Text(keyPath), static_cast<int>(std::count(tested.begin(), tested.end(), u'\\')) + 1);
  if (leftOut_ > 0) {
    lines_.push_back(RegLine{u"... " + IntToText(static_cast<int64_t>(leftOut_)) + u" more keys and values not shown",
                             parent, parent < 0 ? 0 : lines_[static_cast<size_t>(parent)].level + 1});
  }
}

void RegistryTreeBuilder::FillObjectTree(const TObjectData& snapshot) {
  for (const Text& path : RegistryTreePaths(snapshot)) FillRegistryTree(path);
}

void RegistryTreeBuilder::AddRegistryKey(int parent, const Text& keyPath, int depth) {
  if (!HasRoom()) {
    ++leftOut_;
    return;
  }
  RegistryReader reader = RegistryReader::ProcessView(*backend_);
  if (!reader.OpenKeyReadOnly(keyPath)) return;
  const Text name = RegKeyName(keyPath);

  auto valueText = [&](TextView valueName) {
    return registry::GetRegValueText(*backend_, RootKey::ClassesRoot, keyPath, valueName, asHex_);
  };
  // The key's own lines carry its path and the value they show.
  auto addValueLine = [&](TextView valueName, Text head) {
    const size_t at = head.size();
    const int line = AddLine(parent, head + valueText(valueName));
    RegLine& added = lines_.back();
    added.keyPath = keyPath;
    added.valueName = Text(valueName);
    added.valueTextAt = at;
    return line;
  };
  int last = addValueLine(u"", name + u" = ");

  TextList names;
  reader.GetValueNames(names);
  for (const Text& valueName : names) {
    if (IsBlank(valueName)) continue;
    if (!HasRoom()) {
      ++leftOut_;
      continue;
    }
    last = addValueLine(valueName, name + u"[" + valueName + u"] = ");
  }

  if (depth >= registry::kMaxKeyDepth) return;
  TextList subkeys;
  reader.GetKeyNames(subkeys);
  reader.CloseKey();
  for (const Text& subkey : subkeys) {
    // Keys past the limit count once each; their contents are not read.
    if (!HasRoom()) {
      leftOut_ += 1;
      continue;
    }
    AddRegistryKey(last, keyPath + u"\\" + subkey, depth + 1);
  }
}

}  // namespace brannock
