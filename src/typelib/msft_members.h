// Internals of the MSFT parser: the member block of a type. It holds the
// length of its records, the function and variable records, then the
// member ids, the name offsets and the record offsets of all functions
// followed by all variables. A function record has a fixed part, optional
// fields (help context, help string, ...), the default values of its
// parameters when it has any, and one entry per parameter at its end.
#pragma once

#include "typelib/msft_tables.h"

namespace brannock::typelib::msft {

// Reads the functions and variables of the type that `base` describes
// into `type`, whose kind and flags are already read; the functions' types
// and parameters go to those of `lib`.
bool ReadMembers(Tables& tables, const TypeInfoBase& base, LibModel* lib, TypeModel* type);

}  // namespace brannock::typelib::msft
