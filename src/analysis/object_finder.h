// Find: the objects of the catalogue that a text names, by any of their
// names. A text matches
// - an object's GUID: in any letter case, with or without braces, or a
//   leading part of one of at least four hexadecimal digits;
// - anywhere in its name, a class's ProgID or version-independent ProgID,
//   a class's server files (InprocServer32, LocalServer32,
//   InprocHandler32), a type library's registered files, an AppID's
//   executables (AppID\file.exe) or its LocalService, without regard to
//   case (search_text.h): a file by its name or by its path.
// Each object is found once, by the first of its fields in that order that
// matches. The objects come kind by kind (the catalogue's order of kinds),
// each kind in the object tree's order of names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/registration_index.h"

namespace brannock::analysis {

enum class FindField : uint8_t {
  GUID,
  Name,
  ProgID,
  VersionIndependentProgID,
  InprocServer32,
  LocalServer32,
  InprocHandler32,
  File,
  Executable,
  LocalService,
};

// "GUID", "Name", "ProgID", ..., the field's registry name ("File" for a
// type library's file, "Executable" for an AppID's executable).
const char16_t* FindFieldName(FindField field);

struct FoundObject {
  TObjectType typ = TObjectType::otCLSID;
  uint32_t index = 0;  // in the index, and in the catalogue's list
  FindField field = FindField::Name;
  Text text;  // the field that matched, whole
};

struct FindResult {
  std::vector<FoundObject> objects;
  bool more = false;  // more objects match than the cap let through
};

// Where a search stops: a one-letter text matches most of a registry.
inline constexpr size_t kFindCap = 1000;

// The fewest hexadecimal digits a text needs to be taken as a GUID's start.
inline constexpr size_t kGuidPrefixDigits = 4;

class ObjectFinder {
 public:
  // Keeps a reference to the index, which must outlive the finder.
  explicit ObjectFinder(const RegistrationIndex& index);

  // The objects that `text` (control characters at both ends left out)
  // matches, at most `cap`; none for an empty text.
  FindResult Find(TextView text, size_t cap = kFindCap) const;

 private:
  struct Entry {
    TObjectType typ;
    uint32_t index;
    uint32_t firstText, endText;  // into texts_
    uint32_t guidDigits;          // into guidDigits_; kNoDigits when the GUID is no GUID
  };
  struct SearchText {
    FindField field;
    uint32_t offset, length;  // into folded_
    const Text* original;
  };
  static constexpr uint32_t kNoDigits = UINT32_MAX;

  void AddEntry(TObjectType typ, uint32_t index, const Text& guid);
  // A text of the entry added last; empty texts are left out.
  void AddText(FindField field, const Text& text);

  const RegistrationIndex& index_;
  std::vector<Entry> entries_;
  std::vector<SearchText> texts_;
  Text folded_;
  std::string guidDigits_;  // 32 digits per GUID
};

}  // namespace brannock::analysis
