#include "ui/logic/registry_tree_builder.h"

#include <algorithm>

#include "common/text_rules.h"
#include "registry/registry_reader.h"
#include "registry/value_text.h"

namespace brannock::ui {

using registry::RegistryReader;
using registry::RootKey;

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
  int last = AddLine(parent, name + u" = " + valueText(u""));

  TextList names;
  reader.GetValueNames(names);
  for (const Text& valueName : names) {
    if (IsBlank(valueName)) continue;
    if (!HasRoom()) {
      ++leftOut_;
      continue;
    }
    last = AddLine(parent, name + u"[" + valueName + u"] = " + valueText(valueName));
  }

  if (depth >= kMaxKeyDepth) return;
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

}  // namespace brannock::ui
