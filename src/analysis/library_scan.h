// What the registered type libraries declare: which coclass implements
// which interfaces (with their IMPLTYPEFLAGS), which interface derives from
// which, and what each library holds. Every registered version of every
// library is read once, through the loader the viewer uses, one library at
// a time, so that a window can show its progress between two and stop.
#pragma once

#include <memory>
#include <vector>

#include "analysis/registration_index.h"
#include "typelib/access.h"

namespace brannock::analysis {

struct ImplementedType {
  Text guid;
  Text name;
  int32_t flags = 0;  // IMPLTYPEFLAGS (typelib::ImplTypeFlag)
};

// A coclass, interface or dispinterface of a library.
struct DeclaredType {
  typelib::TypeKind kind = typelib::TKIND_INTERFACE;
  Text name;
  Text guid;  // {XXXXXXXX-...}, upper-case digits
  // A coclass: the types it implements, in its order; an interface or
  // dispinterface: its base (that of the interface view of a dual).
  std::vector<ImplementedType> implemented;
};

struct ScannedLibrary {
  uint32_t typeLib = 0;  // in RegistrationIndex::typeLibs
  uint32_t version = 0;  // in that entry's versions
  typelib::HRESULT result = 0;
  Text failure;  // the failed load's text, on one line
  std::vector<DeclaredType> types;
};

class LibraryScan {
 public:
  // The libraries to read: every version key of every listed type library
  // that names a version ("1.0"), of a library whose key is a GUID.
  explicit LibraryScan(const RegistrationIndex& index);

  size_t Total() const { return pending_.size(); }
  size_t Done() const { return libraries_.size(); }
  bool Finished() const { return Done() == Total(); }

  // Reads the next library through `loader`; a library that does not load
  // is kept with its failure.
  void ReadNext(typelib::TypeLibLoader& loader);
  void ReadAll(typelib::TypeLibLoader& loader) {
    while (!Finished()) ReadNext(loader);
  }

  // Those read so far, in the order of the index.
  const std::vector<ScannedLibrary>& Libraries() const { return libraries_; }

 private:
  struct Pending {
    uint32_t typeLib, version;
    Guid guid;
  };
  std::vector<Pending> pending_;
  std::vector<ScannedLibrary> libraries_;
  const RegistrationIndex& index_;
};

// The types of one library that References use.
std::vector<DeclaredType> DeclaredTypes(typelib::TypeLib& lib);

}  // namespace brannock::analysis
