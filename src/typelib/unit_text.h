// A whole type library as one Object Pascal declaration unit.
#pragma once

#include "common/text.h"
#include "typelib/access.h"
#include "typelib/member_text.h"

namespace brannock::typelib {

// "Flags: (N) word,word": the named flags in their fixed order ("control,"
// before "hidden,"); "Flags: (N)" when none is set.
Text TypeFlagsToStr(uint16_t flags);

// Appends the block of one type: "type", an optional doc comment, the head
// lines of its kind, the indented member lines, "  end;" where the kind has
// one, and an empty line. Modules give no lines. `name` is the declaration
// name (without the "T" of a coclass). An implemented type of a coclass that
// cannot be resolved is left out of the class line and reported in a line
// of its own after it.
void AddTypeDeclaration(const Text& name, const Text& docString, TypeInfo& info, TextList* lines,
                        const TypeAttr& attr);
void AddTypeDeclaration(const Text& name, const Text& docString, TypeInfo& info, LineSink& lines,
                        const TypeAttr& attr);

// What a unit's head lines name besides the library's own documentation:
// the file it was loaded from, its uid and its version, as its registration
// gives them (blank and 0.0 for a library opened by file name).
struct UnitHeader {
  Text fileName;
  Text uid;
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
};

// Appends the unit: the head lines (file name, uid and version from
// `header`), one block per type (a dual interface gets a second block), and
// the tail. A type that cannot be read gives one line with the system's
// message text instead of its block. Returns the unit name, the library's
// clean name.
Text TypeLibToStrings(const UnitHeader& header, TypeLib& lib, TextList* lines);
// The same line by line into `lines`: the command line's unit goes into
// one buffer without a text of its own for each line.
Text TypeLibToStrings(const UnitHeader& header, TypeLib& lib, LineSink& lines);

}  // namespace brannock::typelib
