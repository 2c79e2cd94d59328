// The type libraries of one file: a PE file can carry several TYPELIB
// resources (FILE\1, FILE\2, ...); a library file is one library.
#pragma once

#include <vector>

#include "typelib/access.h"

namespace brannock::typelib {

struct TypeLibResource {
  uint16_t number = 1;  // the resource number: FILE\number loads it
  HRESULT hr = S_OK_;   // the load's code; the fields below are set on success
  Text name;
  Guid guid;
  uint16_t majorVersion = 0;
  uint16_t minorVersion = 0;
};

// Every numbered TYPELIB resource of `fileName` in ascending order, each
// loaded through `loader` as FILE\N; a file that is itself a library (or
// holds no TYPELIB resource list) gives the one entry that LoadTypeLib of
// the file gives, numbered 1. TYPE_E_CANTLOADLIBRARY when the file cannot
// be read.
HRESULT ListTypeLibResources(TypeLibLoader& loader, const Text& fileName, std::vector<TypeLibResource>* out);

// "FILE\N" for resource N; the plain file name for the first resource.
Text ResourceFileName(const Text& fileName, uint16_t number);

}  // namespace brannock::typelib
