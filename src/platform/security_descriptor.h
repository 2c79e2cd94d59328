// Security descriptors in the binary self-relative form in which the
// registry keeps them (COM's LaunchPermission, AccessPermission and the
// machine's defaults and limits): the SDK records SECURITY_DESCRIPTOR_RELATIVE,
// ACL, ACE_HEADER with its ACE bodies, and SID, all little-endian except the
// SID's 48-bit identifier authority, which is big-endian.
//
// ReadSecurityDescriptor checks every offset, count and length before it
// reads: damaged bytes give a fault that names the byte and the record,
// never a read outside the given bytes. ACE kinds that carry more than a
// mask, a SID and object GUIDs (conditions, resource attributes, policy
// identifiers) are not decoded; they give a fault of their own kind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/text.h"

namespace brannock::platform {

using ByteView = std::span<const uint8_t>;

struct Sid {
  uint8_t revision = 1;
  uint64_t authority = 0;  // the 48-bit identifier authority
  std::vector<uint32_t> subAuthorities;

  bool operator==(const Sid&) const = default;
};

// ACE_HEADER.AceType values (the platform's numbers).
namespace AceType {
constexpr uint8_t AccessAllowed = 0x0;
constexpr uint8_t AccessDenied = 0x1;
constexpr uint8_t SystemAudit = 0x2;
constexpr uint8_t SystemAlarm = 0x3;
constexpr uint8_t AccessAllowedObject = 0x5;
constexpr uint8_t AccessDeniedObject = 0x6;
constexpr uint8_t SystemAuditObject = 0x7;
constexpr uint8_t SystemAlarmObject = 0x8;
constexpr uint8_t AccessAllowedCallback = 0x9;
constexpr uint8_t AccessDeniedCallback = 0xA;
constexpr uint8_t AccessAllowedCallbackObject = 0xB;
constexpr uint8_t SystemAuditCallback = 0xD;
constexpr uint8_t SystemMandatoryLabel = 0x11;
}  // namespace AceType

// SECURITY_DESCRIPTOR_CONTROL bits.
namespace SdControl {
constexpr uint16_t DaclPresent = 0x0004;
constexpr uint16_t SaclPresent = 0x0010;
constexpr uint16_t DaclAutoInheritReq = 0x0100;
constexpr uint16_t SaclAutoInheritReq = 0x0200;
constexpr uint16_t DaclAutoInherited = 0x0400;
constexpr uint16_t SaclAutoInherited = 0x0800;
constexpr uint16_t DaclProtected = 0x1000;
constexpr uint16_t SaclProtected = 0x2000;
constexpr uint16_t SelfRelative = 0x8000;
}  // namespace SdControl

using GuidBytes = std::array<uint8_t, 16>;

struct Ace {
  uint8_t type = AceType::AccessAllowed;
  uint8_t flags = 0;  // ACE_HEADER.AceFlags
  uint32_t mask = 0;
  // Object ACEs: the GUIDs their Flags field says are present.
  std::optional<GuidBytes> objectType;
  std::optional<GuidBytes> inheritedObjectType;
  Sid sid;

  bool IsObjectAce() const;
};

struct Acl {
  uint8_t revision = 2;
  std::vector<Ace> aces;
};

// A present ACL is either null (`acl` empty: "no access control") or a list.
struct PresentAcl {
  std::optional<Acl> acl;
};

struct SecurityDescriptor {
  uint16_t control = SdControl::SelfRelative;
  std::optional<Sid> owner;
  std::optional<Sid> group;
  std::optional<PresentAcl> dacl;  // absent unless SE_DACL_PRESENT
  std::optional<PresentAcl> sacl;  // absent unless SE_SACL_PRESENT
};

struct DescriptorFault {
  enum class Kind : uint8_t {
    Damaged,     // the bytes are not a valid descriptor
    NotDecoded,  // valid as far as read, but holds an ACE kind not decoded
  };
  Kind kind = Kind::Damaged;
  size_t offset = 0;  // the byte where the faulty record starts
  Text reason;        // "the DACL's ACE 2 runs past the end of its ACL"

  // The line shown in place of the descriptor:
  // "Damaged security descriptor (byte 44): the DACL's ACE 2 runs past the
  // end of its ACL" or "Security descriptor not decoded (byte 44): ...".
  Text Line() const;
};

struct SecurityDescriptorReading {
  std::optional<SecurityDescriptor> descriptor;  // set when there is no fault
  DescriptorFault fault;
};

SecurityDescriptorReading ReadSecurityDescriptor(ByteView bytes);

}  // namespace brannock::platform
