// The four list builders: each reads one category key below
// HKEY_CLASSES_ROOT through a process-view reader and hands on one record
// per accepted subkey, in enumeration order.
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_paths.h"
#include "common/text_rules.h"
#include "common/typelib_version.h"
#include "registry/registry_error.h"
#include "registry/registry_reader.h"
#include "registry/value_text.h"

namespace brannock {

using registry::RegistryReader;
using registry::RootKey;

namespace {

// The subkey names of the category key; none when the key does not open.
TextList CategoryEntries(RegistryReader& reader, RecordSink& sink, TextView category) {
  TextList names;
  if (!reader.OpenKeyReadOnly(category)) return names;
  reader.GetKeyNames(names);
  reader.CloseKey();
  sink.Expect(names.size());
  return names;
}

TObjectData FreshRecord(const Text& G, TObjectType typ) {
  TObjectData rec;
  rec.GUID = G;
  rec.Typ = typ;
  return rec;
}

// Object classes and application IDs: the default value of the entry's key
// names it, else its key name. `catchReadError` decides whether a default
// value that is not a string leaves the name empty or stops the builder.
void ReadNamedEntries(registry::RegistryBackend& backend, RecordSink& sink, TextView category, TObjectType typ,
                      bool catchReadError) {
  RegistryReader reader = RegistryReader::ProcessView(backend);
  for (const Text& G : CategoryEntries(reader, sink, category)) {
    TObjectData rec = FreshRecord(G, typ);
    if (!reader.OpenKeyReadOnly(KeyPath(category, G))) continue;
    if (catchReadError) {
      try {
        rec.Name = reader.ReadString(u"");
      } catch (const registry::RegistryError&) {
        rec.Name.clear();
      }
    } else {
      rec.Name = reader.ReadString(u"");
    }
    reader.CloseKey();
    if (IsBlank(rec.Name)) rec.Name = G;
    sink.Add(std::move(rec));
  }
}

}  // namespace

void Catalogue::ReadObjectClasses(TObjects& list) { ReadList(TObjectType::otCLSID, list); }
void Catalogue::ReadTypeLibraries(TObjects& list) { ReadList(TObjectType::otTypeLib, list); }
void Catalogue::ReadAppIDs(TObjects& list) { ReadList(TObjectType::otAppID, list); }
void Catalogue::ReadInterfaces(TObjects& list) { ReadList(TObjectType::otInterface, list); }

void Catalogue::ReadObjectClassRecords(RecordSink& sink) {
  ReadNamedEntries(*backend_, sink, u"CLSID", TObjectType::otCLSID, /*catchReadError=*/true);
}

void Catalogue::ReadAppIDRecords(RecordSink& sink) {
  ReadNamedEntries(*backend_, sink, u"AppID", TObjectType::otAppID, /*catchReadError=*/false);
}

void Catalogue::ReadTypeLibraryRecords(RecordSink& sink) {
  RegistryReader reader = RegistryReader::ProcessView(*backend_);
  TextList versions;
  for (const Text& G : CategoryEntries(reader, sink, u"TypeLib")) {
    TObjectData rec = FreshRecord(G, TObjectType::otTypeLib);
    const Text libraryKey = KeyPath(u"TypeLib", G);
    if (!reader.OpenKeyReadOnly(libraryKey)) continue;
    reader.GetKeyNames(versions);
    reader.CloseKey();
    if (versions.empty()) continue;
    // Only the first version (enumeration index 0) is listed.
    const Text& V = versions.front();
    if (!reader.OpenKeyReadOnly(KeyPath(libraryKey, V))) continue;
    rec.Name = reader.ReadString(u"");
    // Version keys are written in hexadecimal ("1.a" is version 1.10).
    ParseTypeLibVersion(V, &rec.MajorVersion, &rec.MinorVersion);
    if (IsBlank(rec.Name)) rec.Name = G;
    sink.Add(std::move(rec));
    reader.CloseKey();
  }
}

void Catalogue::ReadInterfaceRecords(RecordSink& sink) {
  RegistryReader reader = RegistryReader::ProcessView(*backend_);
  for (const Text& G : CategoryEntries(reader, sink, u"Interface")) {
    TObjectData rec = FreshRecord(G, TObjectType::otInterface);
    // The name is read through the native view, the enumeration above used
    // the process view.
    rec.Name = registry::GetRegValueText(*backend_, RootKey::ClassesRoot, KeyPath(u"Interface", G), u"", true);
    // An interface without a usable name is not listed.
    if (IsBlank(rec.Name)) continue;
    sink.Add(std::move(rec));
  }
}

}  // namespace brannock
