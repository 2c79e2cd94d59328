// The lines of the detail pane's registry tree, built from HKEY_CLASSES_ROOT
// without any widget: path lines, key lines "%s = %s" and value lines
// "%s[%s] = %s". The lines of one key are siblings; the lines of its subkeys
// hang under its last line, so a key's values come before its subkeys.
#pragma once

#include <vector>

#include "common/text.h"
#include "registry/registry_backend.h"

namespace brannock::ui {

struct RegLine {
  Text text;
  int parent = -1;  // index of the parent line, -1 at the top level
  int level = 0;
};

// Windows keeps keys at most 512 levels deep; a registry file could nest
// deeper, so the tree stops descending there.
inline constexpr int kMaxKeyDepth = 512;

// The lines one key path may add. A ProgID, TypeLib or AppID value naming a
// whole collection ("CLSID", "Interface") would otherwise fill the pane with
// tens of thousands of lines and hold the window for as long.
inline constexpr size_t kMaxLinesPerKeyPath = 2000;

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

  // In the order they were added, which is the tree order (each line before
  // its children).
  const std::vector<RegLine>& Lines() const { return lines_; }

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

}  // namespace brannock::ui
