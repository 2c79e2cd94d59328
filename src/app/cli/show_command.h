// brannock-cli --show TEXT: the detail pane of every catalogue object whose
// GUID (any letter case, braces optional) or name equals TEXT, as the text
// "Copy to Clipboard" gives it, with the platform's line ends.
#pragma once

#include <cstdio>
#include <string>

#include "catalogue/catalogue.h"
#include "common/text.h"

namespace brannock::cli {

// True when a catalogue object with this GUID and name is meant by `wanted`.
bool ShowMatches(TextView wanted, TextView guid, TextView name);

// Prints the summary of each matching object, in the order of the object
// tree's roots and of each list, to `out`. The number of objects printed; a
// registry error while one is built is raised after its partial summary.
size_t ShowObjects(Catalogue& catalogue, TextView wanted, std::FILE* out);

}  // namespace brannock::cli
