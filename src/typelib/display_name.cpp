#include "typelib/display_name.h"

namespace brannock::typelib {

Text DeclarationName(TextView name, TypeKind kind) {
  Text clean = CleanText(name);
  return kind == TKIND_DISPATCH ? clean + u"Disp" : clean;
}

Text DisplayName(TextView name, TypeKind kind) {
  Text declared = DeclarationName(name, kind);
  return kind == TKIND_COCLASS ? u"T" + declared : declared;
}

}  // namespace brannock::typelib
