#include "platform/sddl.h"
#include "platform/sddl_text.h"

namespace brannock::platform {

// No system conversion here: the program's own text of what was read.
Text SystemSddl(ByteView, const SecurityDescriptor& read, Text*) { return SddlText(read); }

}  // namespace brannock::platform
