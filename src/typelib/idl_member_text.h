// The members of a type in IDL: functions with their attributes and
// parameters, fields, properties, enumeration and module constants.
#pragma once

#include "common/text.h"
#include "typelib/access.h"
#include "typelib/idl_context.h"

namespace brannock::typelib {

// A comment line naming a failure to read, after `indent`.
Text IdlFailureLine(const Text& indent, HRESULT hr);

// Appends one line per variable of the type, each preceded by `indent`:
// "NAME = VALUE," for an enumeration (the last without its comma),
// "TYPE NAME;" for a record or a union, "[id(..)] TYPE NAME;" for a
// property, "const TYPE NAME = VALUE;" for a module, with the attributes
// its documentation and flags give. A variable that cannot be read gives a
// comment line naming the failure.
void AddIdlVariables(TypeInfo& info, const TypeAttr& attr, IdlContext& context, const Text& indent, TextList* lines);

// Appends one line per function of the type: its attributes (id, the
// property kind, vararg, documentation, flags; a module function's entry
// point), result type, name and parameters with their own attributes. A
// function that cannot be read gives a comment line naming the failure.
// True when a parameter is a pointer to void (or to an unknown type, which
// reads as void), which an interface must be [local] to have.
bool AddIdlFunctions(TypeInfo& info, const TypeAttr& attr, IdlContext& context, const Text& indent, TextList* lines);

// The attribute words of FUNCFLAGS and of VARFLAGS, in their fixed order,
// each followed by ", ".
void AppendFuncFlagWords(uint16_t flags, Text* out);
void AppendVarFlagWords(uint16_t flags, Text* out);

}  // namespace brannock::typelib
