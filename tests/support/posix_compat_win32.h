// The POSIX environment calls that portable tests use, for the Windows build
// (MinGW's runtime has only _putenv_s). The Windows test programs include
// this first; _putenv_s changes the process environment itself, so the
// system's expansion sees the change too.
#pragma once

#include <stdlib.h>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && getenv(name) != nullptr) return 0;
  return _putenv_s(name, value);
}

// An empty value removes the variable.
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
