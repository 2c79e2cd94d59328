// Loading the type library that belongs to a catalogue object.
#pragma once

#include <memory>

#include "catalogue/object_data.h"
#include "typelib/access.h"

namespace brannock::typelib {

// By registration first (the record's TypeLib GUID, its versions' low 16 bits
// and locale 0x0800), then, when that fails and the record's Server names an
// existing file, from that file. E_NOTIMPL when neither is tried. A TypeLib
// text that is not blank and not a GUID raises ConversionError.
HRESULT LoadObjectTypeLib(const TObjectData& record, TypeLibLoader& loader, std::shared_ptr<TypeLib>* lib);

// The message of a failed load: the failure code's text ("%s (Error code:
// 0x%x)"), then, on a line of its own, what the loader could not find.
Text LoadFailureText(HRESULT hr, const TypeLibLoader& loader);

constexpr uint32_t kSystemDefaultLocale = 0x0800;

}  // namespace brannock::typelib
