// Type descriptors as Object Pascal type names.
#pragma once

#include "common/text.h"
#include "typelib/access.h"

namespace brannock::typelib {

// The type name of a descriptor: fixed names for the basic variant types,
// pointers collapsed to the pointed-to type, "array of T" for safe arrays,
// "array[0..n]...[0..m] of T" for fixed arrays, the referenced type's name for
// user-defined types, and "Unknown" for every other code (flagged codes
// included). `owner` resolves type references. Descriptors nested deeper than
// kMaxTypeDescDepth read "Unknown", so a hostile library cannot exhaust the
// stack.
Text TypeDescToStr(const TypeDesc& desc, TypeInfo& owner);

constexpr int kMaxTypeDescDepth = 512;

// The name of the type a reference points to (as GetDocumentation returns
// it, not cleaned), or "<UnknownCustomType>" when it cannot be resolved.
Text GetUserTypeName(HREFTYPE href, TypeInfo& owner);

// The two above appended to `out`. `scratch` is working storage that a
// caller rendering many members reuses, so that its texts are not
// allocated anew for each name.
void AppendTypeDesc(const TypeDesc& desc, TypeInfo& owner, Text* out, Documentation* scratch);
void AppendUserTypeName(HREFTYPE href, TypeInfo& owner, Text* out, Documentation* scratch);

}  // namespace brannock::typelib
