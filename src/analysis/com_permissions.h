// Who may launch and access a COM server, in words: the LaunchPermission and
// AccessPermission of an AppID, or the machine's defaults
// (DefaultLaunchPermission, DefaultAccessPermission) where the AppID has
// none, and the machine's limits (MachineLaunchRestriction,
// MachineAccessRestriction), all below
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Ole. Each value is a binary
// security descriptor, shown as its SDDL (platform/sddl.h) and as lines:
// owner, group, and each entry with its trustee and its rights as COM
// reads them (Local and Remote Launch, Activation, Access, Execute).
#pragma once

#include <optional>
#include <vector>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "platform/security_descriptor.h"
#include "registry/registry_backend.h"

namespace brannock::analysis {

// What the rights bits of a descriptor mean: launch and activation, or
// access to running objects.
enum class PermissionKind : uint8_t { Launch, Access };

// COM_RIGHTS_EXECUTE 1, _EXECUTE_LOCAL 2, _EXECUTE_REMOTE 4,
// _ACTIVATE_LOCAL 8, _ACTIVATE_REMOTE 16, in words: "Local Launch, Remote
// Activation". A mask of Execute alone is the older form, which grants all
// of them; other bits are named as "other rights 0x...".
Text ComRightsText(PermissionKind kind, uint32_t mask);

// The readable lines of a decoded descriptor: "Owner: ...", "Group: ...",
// then one line per entry ("Allow SYSTEM (S-1-5-18): Local Launch, ...").
TextList DescriptorLines(const platform::SecurityDescriptor& sd, PermissionKind kind);

struct PermissionSection {
  Text heading;   // "Launch and activation permissions: LaunchPermission of this AppID"
  Text sddl;      // empty when there is no descriptor or it could not be read
  TextList lines;  // the readable lines, or the one line that says why there are none
};

// The Security tab of an AppID, or of a class through the AppID it names.
struct ObjectSecurity {
  bool applies = false;  // false for other objects, and a class without an AppID
  Text appId;            // the AppID key's name
  TextList intro;        // what the sections are of
  std::vector<PermissionSection> sections;
};

// The machine's values are read from `store` (the whole registry, not one
// view); the AppID's from `classes` (HKEY_CLASSES_ROOT in the view shown).
ObjectSecurity SecurityOf(const TObjectData& object, registry::RegistryBackend& classes,
                          registry::RegistryBackend& store);

// The sections as text lines: each heading, then its SDDL on a line of its
// own and its readable lines, indented by three blanks.
TextList SecurityLines(const ObjectSecurity& security);

// The key of the machine's COM settings.
constexpr TextView kOleKey = u"SOFTWARE\\Microsoft\\Ole";

}  // namespace brannock::analysis
