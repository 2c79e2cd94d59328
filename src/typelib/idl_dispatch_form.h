// Dispinterfaces declared by an interface ("dispinterface D { interface I; }").
#pragma once

#include <memory>

#include "typelib/access.h"

namespace brannock::typelib {

// The interface of `lib` that declares the dispinterface `info`, or null.
// The access layer hands such a dispinterface out as it hands out the
// dispatch view of a dual interface: the functions of the interface and of
// its bases, IUnknown's first, as dispatch functions. So a dispinterface
// that lists IUnknown's QueryInterface (member id 0x60000000) is declared by
// an interface, and that interface is the one of the library whose own
// functions, by member id and name, end the list. Null when there is none.
std::shared_ptr<TypeInfo> FindDeclaringInterface(TypeLib& lib, TypeInfo& info, const TypeAttr& attr);

}  // namespace brannock::typelib
