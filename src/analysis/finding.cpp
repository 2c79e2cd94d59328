#include "analysis/finding.h"

#include <algorithm>

namespace brannock::analysis {

Text SeverityText(Severity s) {
  switch (s) {
    case Severity::Error: return u"error";
    case Severity::Warning: return u"warning";
    case Severity::Note: return u"note";
  }
  return {};
}

Text KindText(FindingKind k) {
  switch (k) {
    case FindingKind::Class: return u"class";
    case FindingKind::TypeLibrary: return u"type library";
    case FindingKind::AppID: return u"AppID";
    case FindingKind::Interface: return u"interface";
    case FindingKind::ProgID: return u"ProgID";
    case FindingKind::Machine: return u"";
  }
  return {};
}

Text FindingLine(const Finding& f) {
  Text line = SeverityText(f.severity) + u":";
  const Text kind = KindText(f.kind);
  bool placed = false;
  for (const Text* part : {&kind, &f.name, &f.guid, &f.keyPath}) {
    // An object without a name of its own is named by its GUID, once.
    if (part->empty() || (part == &f.guid && f.guid == f.name)) continue;
    line += u" " + *part;
    placed = true;
  }
  return line + (placed ? u": " : u" ") + f.reason;
}

namespace {

Text CsvField(const Text& s) {
  if (s.find_first_of(u";\"") == Text::npos) return s;
  Text quoted = u"\"";
  for (char16_t c : s) {
    if (c == u'"') quoted += u'"';
    quoted += c;
  }
  return quoted + u"\"";
}

}  // namespace

Text FindingCsvLine(const Finding& f) {
  return CsvField(SeverityText(f.severity)) + u";" + CsvField(KindText(f.kind)) + u";" + CsvField(f.name) + u";" +
         CsvField(f.guid) + u";" + CsvField(f.keyPath) + u";" + CsvField(f.reason);
}

Text FindingCsvHeader() { return u"severity;kind;name;GUID;key path;reason"; }

int CheckExitStatus(const Findings& findings) {
  for (const Finding& f : findings)
    if (f.severity != Severity::Note) return 3;
  return 0;
}

void SortBySeverity(Findings& findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
}

}  // namespace brannock::analysis
