// The older SLTG type library format: the streams of a type library's
// compound file written one after another into one blob (Windows' own
// stdole32.tlb, olepro32.dll and the VBA libraries of the 1990s carry it).
//
//   header      "SLTG", the block count, the block directory (length, name,
//               next block), then the block names
//   blocks      in the order of the directory's chain: one per type, the
//               library block ("dir") and a trailer ("\1CompObj")
//   dir         the library's attributes, one entry per type (its block,
//               name, help context, GUID and kind) and the name table that
//               every name of the library points into
//   type block  a header, the member records and a fixed tail with the
//               type's counts, size, alignment and vtable size
//
// The parser fills the MSFT reader's model, so both formats are served by
// the same access layer.
#pragma once

#include "typelib/msft_model.h"
#include "typelib/read_error.h"

namespace brannock::typelib::sltg {

bool IsSltgTypeLib(ByteSpan file);

// Parses the library and every type with its members. A type holding a
// record this reader does not know is named but answers TYPE_E_UNSUPFORMAT
// for its attributes and members; a structure outside the file fails the
// whole library with TYPE_E_INVDATAREAD and the place. The help strings of
// types and members are stored compressed and are left empty (as oleaut32
// under Wine leaves them).
Expected<void> ParseSltgTypeLib(ByteSpan file, msft::LibModel* out);

}  // namespace brannock::typelib::sltg
