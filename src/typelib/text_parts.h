// Small pieces the renderers of a library (Object Pascal and IDL) share.
#pragma once

#include "common/text.h"
#include "typelib/access.h"

namespace brannock::typelib {

// The most names GetNames is asked for (a function and its parameters).
constexpr unsigned kMaxNames = 65535;

// A text from the library up to its first NUL.
inline TextView CleanView(TextView s) { return s.substr(0, s.find(u'\0')); }

// Types whose members are functions called through an interface.
inline bool IsInterfaceLike(TypeKind kind) {
  return kind == TKIND_INTERFACE || kind == TKIND_DISPATCH || kind == TKIND_COCLASS;
}

}  // namespace brannock::typelib
