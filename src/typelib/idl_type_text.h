// The IDL declaration of one type: typedef enum, struct, union or alias,
// interface, dispinterface, coclass or module, with its attributes.
#pragma once

#include "common/text.h"
#include "typelib/access.h"
#include "typelib/idl_context.h"

namespace brannock::typelib {

// The indentation of the declarations inside the library block.
inline const Text kIdlLibraryIndent = u"    ";

// Appends the declaration of the type `info` (its attribute block `attr`,
// its own documentation `doc`), every line preceded by `indent` and members
// by four blanks more. A dual interface is declared once, as the interface
// it is (from its interface view), and a dispinterface that an interface
// declares in the interface form. What cannot be read gives a comment line
// naming the failure.
void AddIdlDeclaration(IdlContext& context, TypeInfo& info, const TypeAttr& attr, const Documentation& doc,
                       const Text& indent, TextList* lines);

// The attribute words of TYPEFLAGS for a type of the given kind, each
// followed by ", ": appobject, licensed, ..., noncreatable for a coclass
// that cannot be created. Flags the compiler works out itself
// (dispatchable) or that IDL has no word for (reversebind) give none.
void AppendTypeFlagWords(uint16_t flags, TypeKind kind, Text* out);

}  // namespace brannock::typelib
