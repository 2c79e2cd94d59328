// brannock-cli's questions across the catalogue, one line a answer (UTF-8,
// fields separated by ";" as in the list files):
//   --find TEXT         kind;name;GUID;field;matched text
//                       for every object that TEXT names by any of its names
//                       (analysis/object_finder.h), uncapped
//   --references TEXT   kind;name;GUID;relation;kind;name;GUID
//                       for every reference of every object whose GUID or
//                       name is TEXT (as --show selects them; repeatable:
//                       any of the texts), with a field "missing" after a
//                       target that is not registered
// The kinds are the category keys (CLSID, TypeLib, AppID, Interface) and
// ProgID. Both give exit status 3 when nothing matches.
#pragma once

#include <cstdio>

#include "analysis/object_finder.h"
#include "analysis/references.h"
#include "catalogue/catalogue.h"
#include "typelib/access.h"

namespace brannock::cli {

Text FindLine(const analysis::RegistrationIndex& index, const analysis::FoundObject& found);
Text ReferenceLine(TObjectType typ, const Text& name, const Text& guid, const analysis::Reference& reference);

// 0, or 3 when TEXT names no object.
int RunFindCommand(Catalogue& catalogue, TextView text, std::FILE* out);

// The objects in the order of the tree's roots and of each list, each once.
// The libraries are read through `loader` (null: none are read), once,
// when an object's references need them; what could not be read goes to
// `notes`, one line each. 0, or 3 when no object has any of those GUIDs or
// names.
int RunReferencesCommand(Catalogue& catalogue, typelib::TypeLibLoader* loader, const TextList& wanted,
                         std::FILE* out, std::FILE* notes);

}  // namespace brannock::cli
