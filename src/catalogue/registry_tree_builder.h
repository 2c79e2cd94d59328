// The registry lines behind an object, as the detail pane shows them and the
// comparison of two registries compares them, built from HKEY_CLASSES_ROOT
// without any widget: path lines, key lines "%s = %s" and value lines
// "%s[%s] = %s". The lines of one key are siblings; the lines of its subkeys
// hang under its last line, so a key's values come before its subkeys.
#pragma once

#include <vector>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "registry/registry_backend.h"

namespace brannock {

struct RegLine {
  Text text;
  int parent = -1;  // index of the parent line, -1 at the top level
  int level = 0;
  // Key and value lines: the key's path below HKEY_CLASSES_ROOT as it was
  // followed, the value's name (empty on a key line, which shows the
  // default value) and where the value's text starts in `text`. Path lines
  // and the count line of a path cut short have no key path.
  Text keyPath;
  Text valueName;
  size_t valueTextAt = 0;

  TextView ValueText() const { return TextView(text).substr(valueTextAt); }
};

// The lines one key path may add. A ProgID, TypeLib or AppID value naming a
// whole collection ("CLSID", "Interface") would otherwise fill the pane with
// tens of thousands of lines and hold the window for as long.
inline constexpr size_t kMaxLinesPerKeyPath = 2000;

// "CLSID", "TypeLib", "AppID" or "Interface".
Text KeyRootOf(TObjectType typ);

// The key paths of an object's lines, in order: the object's own key, then
// the class, type library, application ID and ProgID keys its resolved
// record names (each only when not blank and not the object's own kind).
TextList RegistryTreePaths(const TObjectData& snapshot);

class RegistryTreeBuilder {
 public:
  RegistryTreeBuilder(registry::RegistryBackend& backend, bool asHex);

  // Adds the lines of one key path and everything below it at the top
  // level. A path naming the root itself ("", "\") adds nothing. After
  // kMaxLinesPerKeyPath lines the path stops with the line "... %d more
  // keys and values not shown" below its first key line's parent. A
  // registry error while a value is rendered ends the building: it is
  // raised, and the lines added so far stay.
  void FillRegistryTree(TextView keyPath);

  // FillRegistryTree for each of RegistryTreePaths(snapshot).
  void FillObjectTree(const TObjectData& snapshot);

  // In the order they were added, which is the tree order (each line before
  // its children).
  const std::vector<RegLine>& Lines() const { return lines_; }
  std::vector<RegLine> TakeLines() { return std::move(lines_); }

 private:
  int AddLine(int parent, Text text);
  // False once the path's lines are used up.
  bool HasRoom() const { return lines_.size() - pathStart_ < kMaxLinesPerKeyPath; }
  void AddRegistryKey(int parent, const Text& keyPath, int depth);

  registry::RegistryBackend* backend_;
  bool asHex_;
  std::vector<RegLine> lines_;
  size_t pathStart_ = 0;  // the first line of the current key path
  size_t leftOut_ = 0;    // keys and values of the current path not shown
};

// The part of a key path after its last "\" or ":".
Text RegKeyName(TextView keyPath);

}  // namespace brannock
