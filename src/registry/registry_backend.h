// The registry store behind RegistryReader: open a key by path, list subkey
// names, list value names, read a value's type and bytes.
//
// Enumeration order, the same for every back end and matching Windows and
// Wine: subkeys in ascending order of their names compared after upper-casing
// the letters a to z, by UTF-16 code units (ordinal); values in the order in
// which they were stored. Key names are matched without regard to case by the
// same rule. The catalogue takes "the first subkey" in several places, so
// this order is part of the contract.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/text.h"

namespace brannock::registry {

enum class RootKey : uint8_t { ClassesRoot, CurrentUser, LocalMachine, Users };

// Value type codes (the platform's numbers).
namespace RegType {
constexpr uint32_t None = 0;
constexpr uint32_t Sz = 1;
constexpr uint32_t ExpandSz = 2;
constexpr uint32_t Binary = 3;
constexpr uint32_t Dword = 4;
constexpr uint32_t DwordBigEndian = 5;
constexpr uint32_t Link = 6;
constexpr uint32_t MultiSz = 7;
constexpr uint32_t ResourceList = 8;
constexpr uint32_t FullResourceDescriptor = 9;
constexpr uint32_t ResourceRequirementsList = 10;
constexpr uint32_t Qword = 11;
}  // namespace RegType

// Access masks (the platform's numbers).
namespace Access {
constexpr uint32_t KeyRead = 0x20019;
constexpr uint32_t ReadEnumerate = 0x20009;  // STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS
constexpr uint32_t QueryValue = 0x0001;
constexpr uint32_t Wow64_64Key = 0x0100;
constexpr uint32_t Wow64_32Key = 0x0200;
constexpr uint32_t ViewMask = 0x0300;
}  // namespace Access

using Bytes = std::vector<uint8_t>;

// Windows keeps keys at most 512 levels deep; a registry file could nest
// deeper, so walks of a key tree stop descending there.
inline constexpr int kMaxKeyDepth = 512;

// The two views of HKEY_CLASSES_ROOT on 64-bit Windows: the registrations of
// 64-bit programs and those of 32-bit programs (parts of which Windows keeps
// below Wow6432Node; see classes_view.h). On 32-bit Windows the 32-bit view
// is the only one.
enum class RegistryView : uint8_t { Bits64, Bits32 };

// KEY_WOW64_64KEY for the 64-bit view, KEY_WOW64_32KEY for the 32-bit one.
constexpr uint32_t ViewAccessFlag(RegistryView view) {
  return view == RegistryView::Bits32 ? Access::Wow64_32Key : Access::Wow64_64Key;
}

// One open key; closing is destruction.
class OpenedKey {
 public:
  virtual ~OpenedKey() = default;

  // Direct subkey names in enumeration order (see above).
  virtual TextList SubkeyNames() = 0;
  // Value names in stored order; a set default value is listed as "".
  virtual TextList ValueNames() = 0;
  // False when the value does not exist. `data` may be null to ask only for
  // the type and size.
  virtual bool QueryValue(TextView name, uint32_t* type, uint32_t* size, Bytes* data) = 0;
  // Writing is only used for the window settings (below HKEY_CURRENT_USER).
  // Read-only stores raise an Error.
  virtual void SetValue(TextView name, uint32_t type, const Bytes& data);
};

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // Opens an existing key; null when it is missing or the access is refused.
  // An empty path opens the root itself. `access` carries the view flag.
  virtual std::unique_ptr<OpenedKey> Open(RootKey root, TextView path, uint32_t access) = 0;

  // Opens or creates a key for writing; null when the store is read-only or
  // the key cannot be created.
  virtual std::unique_ptr<OpenedKey> Create(RootKey root, TextView path);

  // Whether the process sees a redirected 32-bit view (WOW64). Only the
  // Windows back end can say yes.
  virtual bool RunsUnderWow64() const { return false; }

  // The view of the machine's own programs: Bits64 for a registry of 64-bit
  // Windows, which holds both views (chosen by the view flag of each open);
  // Bits32 for one of 32-bit Windows, which has only the 32-bit view and
  // ignores the view flags.
  virtual RegistryView MachineView() const { return RegistryView::Bits64; }
  bool HasView(RegistryView view) const { return view == RegistryView::Bits32 || MachineView() == view; }

  // The Windows environment of the machine whose registry this is
  // (NAME=VALUE entries, see windows_environment.h): REG_EXPAND_SZ texts and
  // server paths are expanded with it. The Windows defaults unless the back
  // end knows better: the process environment for the live registry, the
  // prefix's own for a Wine prefix.
  virtual TextList WindowsEnvironment() const;
};

}  // namespace brannock::registry
