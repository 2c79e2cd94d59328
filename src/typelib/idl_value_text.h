// Literal values of the IDL rendering: strings, numbers, GUIDs, and the
// constants and default values a type library stores as variants.
#pragma once

#include "common/guid.h"
#include "common/text.h"
#include "typelib/variant.h"

namespace brannock::typelib {

// A string literal: the text in double quotes, with backslash, quote and
// the control characters written as C escapes.
void AppendIdlString(TextView text, Text* out);

// "0x" and eight lower-case hexadecimal digits, as ids and help contexts
// are written.
void AppendIdlHex(uint32_t value, Text* out);

// A GUID as uuid(...) takes it: without braces.
Text IdlGuidText(const Guid& guid);

// A constant or default value as an IDL literal: integers and booleans in
// decimal, reals, currency and decimals in the locale-independent form of
// FormatVariantText, a date as its day number, a string quoted; an empty,
// null or object value is 0. False for a value no literal stands for (an
// array, a reference); `out` then holds a comment that names its type.
bool AppendIdlValue(const Variant& value, Text* out);

}  // namespace brannock::typelib
