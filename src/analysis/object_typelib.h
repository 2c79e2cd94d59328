// Loading the type library that belongs to a catalogue object, and the head
// of its unit.
#pragma once

#include <memory>

#include "catalogue/object_data.h"
#include "typelib/access.h"
#include "typelib/unit_text.h"

namespace brannock::analysis {

using typelib::HRESULT;

// By registration first (the record's TypeLib GUID, its versions' low 16 bits
// and locale 0x0800), then, when that fails and the record's Server names an
// existing file, from that file. E_NOTIMPL when neither is tried. A TypeLib
// text that is not blank and not a GUID raises ConversionError.
HRESULT LoadObjectTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader,
                          std::shared_ptr<typelib::TypeLib>* lib);

// The message of a failed load: the failure code's text ("%s (Error code:
// 0x%x)"), then, on a line of its own, what the loader could not find.
Text LoadFailureText(HRESULT hr, const typelib::TypeLibLoader& loader);

// What the head of the record's unit names: its Server, TypeLib and version.
typelib::UnitHeader UnitHeaderOf(const TObjectData& record);

constexpr uint32_t kSystemDefaultLocale = 0x0800;

}  // namespace brannock::analysis
