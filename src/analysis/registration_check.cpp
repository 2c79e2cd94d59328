#include "analysis/registration_check.h"

#include "analysis/check_context.h"
#include "catalogue/object_kinds.h"
#include "registry/registry_error.h"

namespace brannock::analysis {

using check::Context;

namespace {

// A collection that stops reading at a value of the wrong type is checked
// as far as it was read, and the reason noted.
void ReadCollection(Catalogue& catalogue, TObjectType typ, Findings& out) {
  if (!catalogue.List(typ).empty()) return;
  try {
    catalogue.ReadList(typ);
  } catch (const registry::RegistryError& e) {
    out.push_back(Finding{Severity::Note, FindingKind::Machine, u"", u"", u"", 
                          u"the " + LowerAscii(KindOf(typ).rootCaption) + u" were read only in part: " + e.Message(),
                          std::nullopt});
  }
}

Text Listed(const TextList& items) {
  Text out;
  for (const Text& item : items) out += (out.empty() ? u"" : u", ") + item;
  return out;
}

void NoteWhatWasNotChecked(Context& c, Findings& out) {
  auto note = [&](Text reason) { out.push_back(Finding{Severity::Note, FindingKind::Machine, {}, {}, {}, reason, {}}); };
  if (!c.files.CanCheck())
    note(u"server and library files were not checked: the source has no drives (map them with --drive LETTER=DIR)");
  else if (!c.unmappedRoots.empty())
    note(u"files on " + Listed(c.unmappedRoots) + u" were not checked: no drive maps them (--drive LETTER=DIR)");
  if (!c.machineKnown) {
    note(u"per-user classes and machine-wide servers in places any user may write were not checked: the source "
         u"does not tell the machine's classes from the user's (an export of HKEY_CLASSES_ROOT has no such split)");
    note(u"the machine's COM permissions were not checked: the source has no HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole");
  } else if (!c.userKnown) {
    note(u"per-user classes were not checked: the source has no HKEY_CURRENT_USER");
  }
}

}  // namespace

Findings CheckRegistrations(Catalogue& catalogue, registry::RegistryBackend& store, registry::RegistryView view,
                            MachineFiles& files, const CheckOptions& options, typelib::TypeLibLoader* loader) {
  Findings out;
  for (TObjectType typ : {TObjectType::otCLSID, TObjectType::otInterface, TObjectType::otTypeLib, TObjectType::otAppID})
    ReadCollection(catalogue, typ, out);
  Context c(catalogue, store, view, files, out);
  check::CheckClasses(c);
  check::CheckUserClasses(c);
  check::CheckProgIds(c);
  check::CheckInterfaces(c);
  check::CheckTypeLibraryFiles(c);
  if (options.libraries && loader != nullptr) check::CheckLibrariesLoad(c, *loader);
  check::CheckPermissionValues(c);
  NoteWhatWasNotChecked(c, out);
  SortBySeverity(out);
  return out;
}

}  // namespace brannock::analysis
