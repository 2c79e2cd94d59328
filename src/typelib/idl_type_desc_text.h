// Type descriptors as IDL types.
#pragma once

#include "common/text.h"
#include "typelib/access.h"
#include "typelib/idl_context.h"

namespace brannock::typelib {

// The IDL form of a type descriptor, split where C puts the declared name:
// `type` gets what goes before it ("long", "IShape*", "SAFEARRAY(BSTR)"),
// `suffix` what follows it (the bounds of a fixed array, "[4][2]"). Types of
// the library and of other libraries are named through `context`, which
// declares what the file needs for them. A type code that IDL has no name
// for reads "void" after a comment naming the code. Descriptors nested
// deeper than kMaxTypeDescDepth read the same way, so a hostile library
// cannot exhaust the stack.
void AppendIdlType(const TypeDesc& desc, TypeInfo& owner, IdlContext& context, Text* type, Text* suffix);

// Whether the type is, or holds, a pointer to void (which cannot be
// marshalled: an interface with one is local).
bool HoldsVoidPointer(const TypeDesc& desc);

}  // namespace brannock::typelib
