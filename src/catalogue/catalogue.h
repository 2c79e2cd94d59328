// The registration catalogue: the four collections of COM registrations
// below HKEY_CLASSES_ROOT (object classes, type libraries, application IDs,
// interfaces), how each is read from the registry, and how one object's
// details are resolved. The main window owns one Catalogue; the batch mode
// and brannock-cli use one without any window.
#pragma once

#include "catalogue/object_data.h"
#include "platform/environment_list.h"
#include "registry/registry_backend.h"

namespace brannock {

using platform::ExpandEnvVars;
using platform::GetEnvironmentList;

class Catalogue {
 public:
  explicit Catalogue(registry::RegistryBackend& backend);

  registry::RegistryBackend& Backend();

  // The four collections; empty until read. A list is only ever replaced as
  // a whole by its builder; detail resolution changes entries in place.
  TObjects OCList, TLList, AIList, IFList;
  // NAME=VALUE lines, captured once at start-up (CaptureEnvironment); the
  // server paths of object classes are expanded with it.
  TextList Environment;
  // Fills Environment with the Windows environment of the registry's
  // machine (RegistryBackend::WindowsEnvironment), not the host's.
  void CaptureEnvironment();

  // List builders: each empties the list and appends one record per
  // accepted subkey of its category key, in enumeration order. A registry
  // error that a builder does not catch stops it; the records appended so
  // far stay in the list.
  void ReadObjectClasses(TObjects& list);
  void ReadTypeLibraries(TObjects& list);
  void ReadAppIDs(TObjects& list);
  void ReadInterfaces(TObjects& list);
  // The same builders handing each record to `sink` as it is made, with
  // nothing kept (the batch mode writes them straight to their file).
  void ReadObjectClassRecords(RecordSink& sink);
  void ReadTypeLibraryRecords(RecordSink& sink);
  void ReadAppIDRecords(RecordSink& sink);
  void ReadInterfaceRecords(RecordSink& sink);

  // Detail resolution of the object G into its record, in place.
  void ResolveObjectClass(const Text& G, TObjectData& rec);
  void ResolveTypeLibrary(const Text& G, TObjectData& rec);
  void ResolveAppID(const Text& G, TObjectData& rec);
  void ResolveInterface(const Text& G, TObjectData& rec);

  // OCList for otCLSID, TLList for otTypeLib, AIList for otAppID, IFList
  // for otInterface.
  TObjects& List(TObjectType t);
  // Runs the builder of that kind into its list, or into `list`.
  void ReadList(TObjectType t);
  void ReadList(TObjectType t, TObjects& list);
  // Runs the builder of that kind into `sink`.
  void ReadRecords(TObjectType t, RecordSink& sink);
  // Resolves by rec.Typ, with rec.GUID as G.
  void Resolve(TObjectData& rec);

 private:
  registry::RegistryBackend* backend_;
};

}  // namespace brannock
