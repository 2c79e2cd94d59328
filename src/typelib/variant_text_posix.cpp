#include "typelib/variant.h"

namespace brannock::typelib {

int32_t VariantToText(const Variant& v, Text* text) { return FormatVariantText(v, text); }

}  // namespace brannock::typelib
