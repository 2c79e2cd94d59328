// The access layer over the platform's type library services (Windows only):
// each call copies the record oleaut32 hands out into the access-layer
// structures and releases the platform's record at once.
#pragma once

#include <memory>

#include "typelib/access.h"

struct ITypeLib;
struct ITypeInfo;

namespace brannock::typelib {

// Take over one reference of the platform object (released when the last
// holder of the result lets go). Null gives null.
std::shared_ptr<TypeLib> AdoptTypeLib(ITypeLib* lib);
std::shared_ptr<TypeInfo> AdoptTypeInfo(ITypeInfo* info);

}  // namespace brannock::typelib
