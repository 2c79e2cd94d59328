// The file reader's type library: an MSFT library parsed into memory and
// served through the access layer, in the form oleaut32 hands it out.
//
// Dual interfaces are stored once, as TKIND_DISPATCH with TYPEFLAG_FDUAL.
// GetTypeInfo gives the dispatch view: every function of the interface and
// its bases (IUnknown and IDispatch first) as FUNC_DISPATCH, an HRESULT
// result replaced by the [out, retval] parameter's type (or VT_VOID), and
// IDispatch as its implemented type. GetRefTypeOfImplType(-1) on it gives
// the href of the TKIND_INTERFACE view, which lists the interface's own
// functions as declared.
#pragma once

#include <functional>
#include <memory>

#include "typelib/access.h"
#include "typelib/byte_reader.h"
#include "typelib/msft_model.h"
#include "typelib/read_error.h"

namespace brannock::typelib {

// Loads a library that another one imports (stdole2.tlb, say), or returns a
// failure code. Called when a type of that library is first referenced.
using ImportResolver = std::function<HRESULT(const msft::ImportedLibrary&, std::shared_ptr<TypeLib>*)>;

// Parses `file` as an MSFT library. Failure codes: TYPE_E_CANTLOADLIBRARY
// when it is not one, TYPE_E_INVDATAREAD when it is damaged; `failure`, when
// given, then says where reading stopped.
HRESULT OpenMsftTypeLib(ByteSpan file, ImportResolver resolver, std::shared_ptr<TypeLib>* lib,
                        ReadFailure* failure = nullptr);

// Parses `file` as a library of the older SLTG format and serves it the same
// way. A failure says where the file is damaged; its code is
// TYPE_E_CANTLOADLIBRARY when the bytes are not SLTG and TYPE_E_INVDATAREAD
// when a structure lies outside the file.
Expected<void> OpenSltgTypeLib(ByteSpan file, ImportResolver resolver, std::shared_ptr<TypeLib>* lib);

// Records the name a library of this reader was loaded under (what
// GetLibraryFile answers); other libraries are left as they are.
void SetLibraryFile(TypeLib& lib, Text path);

// The type with the given GUID in any library (a linear search when the
// library is not one of this reader's).
HRESULT FindTypeInfoOfGuid(TypeLib& lib, const Guid& guid, std::shared_ptr<TypeInfo>* info);

}  // namespace brannock::typelib
