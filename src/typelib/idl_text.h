// A whole type library as an IDL file (MIDL syntax) that an IDL compiler
// reads back into the same library.
#pragma once

#include "common/text.h"
#include "typelib/access.h"
#include "typelib/unit_text.h"

namespace brannock::typelib {

// Appends the IDL file of `lib`: a comment with the header's file name; the
// declarations the library block needs (the base types of OLE Automation
// it uses, the types of imported libraries it refers to, forward
// declarations of its own types referred to before their definition); then
// the library block with its attributes, one importlib per imported library
// and one declaration per type, in the library's order, each followed by an
// empty line. A type that cannot be read gives a comment line naming the
// failure instead. Returns the library's clean name.
Text TypeLibToIdl(const UnitHeader& header, TypeLib& lib, TextList* lines);

}  // namespace brannock::typelib
