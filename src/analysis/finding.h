// One finding of the registration check: what is wrong (or worth knowing)
// about one registration, where it is and why; and the lines and the exit
// status made of a list of them.
#pragma once

#include <optional>
#include <vector>

#include "catalogue/object_data.h"
#include "common/text.h"

namespace brannock::analysis {

// Error: what cannot work (a missing file, a loop, a TreatAs to nothing).
// Warning: what works but is risky or inconsistent. Note: only worth
// knowing, and the checks a source could not make.
enum class Severity : uint8_t { Error, Warning, Note };

enum class FindingKind : uint8_t { Class, TypeLibrary, AppID, Interface, ProgID, Machine };

struct Finding {
  Severity severity = Severity::Note;
  FindingKind kind = FindingKind::Machine;
  Text name;     // the object's name (a ProgID's own name); empty for a note on the source
  Text guid;     // the object's GUID; a ProgID's class, when it names one
  Text keyPath;  // "HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32"
  Text reason;

  // The object of the tree that shows this finding's registration (a
  // ProgID's class); nothing when none does.
  std::optional<TObjectType> treeKind;

  bool operator==(const Finding&) const = default;
};

using Findings = std::vector<Finding>;

// "error", "warning", "note".
Text SeverityText(Severity s);
// "class", "type library", "AppID", "interface", "ProgID", "" (the source).
Text KindText(FindingKind k);

// One line: "error: class Brannock Test {B4A22001-...}
// HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32: <reason>"; a note on the
// source is "note: <reason>".
Text FindingLine(const Finding& f);

// "severity;kind;name;GUID;key path;reason"; a field holding ";" or a
// double quote is put in double quotes, its quotes doubled.
Text FindingCsvLine(const Finding& f);
Text FindingCsvHeader();

// The exit status of a check that found these: 3 when there is an error or
// a warning, 0 for notes alone.
int CheckExitStatus(const Findings& findings);

// Errors first, then warnings, then notes; within one severity in the
// order found.
void SortBySeverity(Findings& findings);

}  // namespace brannock::analysis
