// Resources of PE32 and PE32+ files (.dll, .ocx, .exe, resource-only .tlb):
// the TYPELIB resource that holds an embedded type library, and icons as
// .ico files. Every structure is bounds-checked against the file; results
// point into the given bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "common/text.h"
#include "typelib/byte_reader.h"

namespace brannock::typelib {

enum class PeError : uint8_t {
  None,
  NotPe,      // no MZ/PE signatures
  Malformed,  // a header, directory or entry lies outside the file
  NotFound,   // no such resource
};

// A resource type or name: a number or a text (compared without regard to
// case, as the resource functions do).
using ResourceId = std::variant<uint16_t, Text>;

constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtGroupIcon = 14;

bool IsPeFile(ByteSpan file);

// The data of resource `name` of `type`, in its first language.
PeError FindPeResource(ByteSpan file, const ResourceId& type, const ResourceId& name, ByteSpan* data);

// The names of the resources of `type`, in directory order (named entries
// first, then numbered ones in ascending order).
PeError ListPeResources(ByteSpan file, const ResourceId& type, std::vector<ResourceId>* names);

// Icon number `index` of the file as the bytes of an .ico file: index >= 0
// counts the icon groups in directory order, a negative index names the
// group by its resource number (-index), as ExtractIcon takes it.
std::optional<std::vector<uint8_t>> ExtractIconFile(ByteSpan file, int index);

}  // namespace brannock::typelib
