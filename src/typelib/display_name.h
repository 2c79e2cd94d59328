// The names under which a type is shown: the declaration in the rendered
// unit and the viewer's type tree use the same rule.
#pragma once

#include "common/text.h"
#include "typelib/access.h"

namespace brannock::typelib {

// The clean name, with "Disp" appended for a dispinterface.
Text DeclarationName(TextView name, TypeKind kind);

// DeclarationName with "T" put before it for a coclass.
Text DisplayName(TextView name, TypeKind kind);

}  // namespace brannock::typelib
