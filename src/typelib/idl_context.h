// The state of one IDL rendering: the library being written, the type whose
// block is being written, and what the file must declare before its
// library block so that an IDL compiler reads it on its own: the base types
// of OLE Automation it uses, its own types that are referred to before
// their definition, and the types of other libraries with the libraries to
// import them from.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "typelib/access.h"

namespace brannock::typelib {

// The base types that IDL compilers know by name from the platform's IDL
// files. The file declares the ones it uses.
enum class IdlBaseType : uint8_t {
  HResult, SCode, Bstr, Variant, VariantBool, Date, Currency, Decimal, LpStr, LpWStr, IntPtr, UIntPtr,
  IUnknown, IDispatch, Count
};

// What kind of type a reference names.
struct IdlReferenceKind {
  TypeKind kind = TKIND_ENUM;
  bool dual = false;
};

class IdlContext {
 public:
  explicit IdlContext(TypeLib& lib);

  TypeLib& Library() { return lib_; }

  // How a referenced type is used: as the base of an interface (which must
  // be defined before), or as the type of a member.
  enum class Use { Type, Base };

  // The blocks written next belong to the library's type `index`.
  void SetCurrentType(unsigned index) { current_ = index; }

  // An alias of the library referred to before its place is declared just
  // before the block that first refers to it (an alias has no forward
  // declaration): these lines, taken once, go before the current block.
  void TakeEarlyLines(TextList* lines);
  // Whether the type at `index` has been declared early, so that its own
  // place holds only a note.
  bool IsDeclaredEarly(unsigned index) const { return early_.count(index) != 0; }

  // Appends how the type that `href` of `owner` refers to is named at this
  // point of the file: its name, "struct NAME" (or enum, union) for a
  // record defined further on, or, when the reference cannot be followed,
  // a comment naming the failure and "void".
  // Returns the kind of the type, none when it cannot be followed.
  std::optional<IdlReferenceKind> AppendReference(TypeInfo& owner, HREFTYPE href, Use use, Text* out);

  // The same for a type already obtained.
  std::optional<IdlReferenceKind> AppendResolved(const std::shared_ptr<TypeInfo>& type, Use use, Text* out);

  void UseBaseType(IdlBaseType type) { baseTypes_[static_cast<size_t>(type)] = true; }

  // The lines before the library block: the base types used, the types of
  // other libraries, and the library's own types referred to ahead.
  void AddPrologue(TextList* lines);

  // One importlib line for each library whose types are referred to.
  void AddImportLines(const Text& indent, TextList* lines) const;

 private:
  struct ImportedLibrary {
    LibAttr attr;
    Text name;
    Text file;
  };
  // What a referenced type is; kept per type object for the rendering.
  struct Referenced {
    HRESULT failure = S_OK_;
    Text name;
    TypeKind kind = TKIND_ENUM;
    bool dual = false;
    // The library's own type at `index`, or one of library `import`.
    bool local = true;
    unsigned index = 0;
    size_t import = 0;
  };
  enum class Declared { Forward, InProgress, Defined };

  const Referenced& Classify(const std::shared_ptr<TypeInfo>& type);
  size_t ImportOf(TypeLib& lib, const LibAttr& attr, const Text& name);
  void AppendName(const Referenced& r, const std::shared_ptr<TypeInfo>& type, Use use, Text* out);
  void DeclareImported(const Referenced& r, const std::shared_ptr<TypeInfo>& type, Use use);
  // An imported type that has the name of one of the library's own types:
  // the kind of that own type, none when the names differ.
  std::optional<TypeKind> ShadowedBy(const Referenced& r) const;
  void DeclareEarly(const Referenced& r, const std::shared_ptr<TypeInfo>& type);
  // Appends the declaration of `type` (or a comment naming why it cannot be read).
  void Declare(const Referenced& r, TypeInfo& type, const Text& indent, TextList* lines);
  static Text ForwardLine(const Referenced& r);

  TypeLib& lib_;
  LibAttr attr_;
  Text name_;
  // The library's types by name: their kinds and indexes.
  std::map<Text, std::pair<TypeKind, unsigned>> ownNames_;
  std::optional<unsigned> current_;
  bool baseTypes_[static_cast<size_t>(IdlBaseType::Count)] = {};
  std::vector<ImportedLibrary> imports_;
  // Type objects met (kept alive, so that their addresses stay theirs).
  std::vector<std::shared_ptr<TypeInfo>> kept_;
  std::unordered_map<const TypeInfo*, Referenced> referenced_;
  // Own types referred to ahead: their forward declarations by index.
  std::map<unsigned, Text> forward_;
  // Aliases declared before their place, and their lines not yet taken.
  std::set<unsigned> early_;
  TextList earlyLines_;
  // Types of other libraries by (library, index): how far each is declared.
  std::map<std::pair<size_t, unsigned>, Declared> imported_;
  TextList importedLines_;
  std::set<Text> importedNames_;
};

}  // namespace brannock::typelib
