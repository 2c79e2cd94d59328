#include "platform/sddl_text.h"

#include "platform/sid_text.h"

namespace brannock::platform {

namespace {

// Letters of the access mask bits 0 to 31 (directory service, standard and
// generic rights); bits without letters make the mask hexadecimal.
const char16_t* const kRightBits[32] = {
    u"CC", u"DC", u"LC", u"SW", u"RP", u"WP", u"DT", u"LO", u"CR", nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, u"SD", u"RC", u"WD", u"WO", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, u"GA", u"GX", u"GW", u"GR"};

// Whole masks with a name of their own: FILE_ALL_ACCESS, FILE_GENERIC_READ,
// FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, KEY_ALL_ACCESS, KEY_READ (which
// KEY_EXECUTE equals), KEY_WRITE.
struct NamedMask {
  uint32_t mask;
  const char16_t* letters;
};
const NamedMask kNamedMasks[] = {{0x1F01FF, u"FA"}, {0x120089, u"FR"}, {0x120116, u"FW"}, {0x1200A0, u"FX"},
                                 {0xF003F, u"KA"},  {0x20019, u"KR"},  {0x20006, u"KW"}};

// SYSTEM_MANDATORY_LABEL_NO_WRITE_UP, _NO_READ_UP, _NO_EXECUTE_UP.
const char16_t* const kLabelBits[3] = {u"NW", u"NR", u"NX"};

// AceFlags bits: OBJECT_INHERIT_ACE, CONTAINER_INHERIT_ACE,
// NO_PROPAGATE_INHERIT_ACE, INHERIT_ONLY_ACE, INHERITED_ACE, (0x20 has no
// letters), SUCCESSFUL_ACCESS_ACE_FLAG, FAILED_ACCESS_ACE_FLAG.
const char16_t* const kAceFlagBits[8] = {u"OI", u"CI", u"NP", u"IO", u"ID", nullptr, u"SA", u"FA"};

Text HexLower(uint64_t v) { return u"0x" + LowerAscii(HexUpper(v)); }

Text GuidText(const GuidBytes& g) {
  auto hex = [](uint64_t v, size_t digits) {
    const Text h = LowerAscii(HexUpper(v));
    return Text(digits - h.size(), u'0') + h;
  };
  const uint32_t data1 = static_cast<uint32_t>(g[0]) | static_cast<uint32_t>(g[1]) << 8 |
                         static_cast<uint32_t>(g[2]) << 16 | static_cast<uint32_t>(g[3]) << 24;
  Text out = hex(data1, 8) + u"-" + hex(g[4] | g[5] << 8, 4) + u"-" + hex(g[6] | g[7] << 8, 4) + u"-";
  for (size_t i = 8; i < 16; ++i) {
    if (i == 10) out += u"-";
    out += hex(g[i], 2);
  }
  return out;
}

Text AclFlags(uint16_t control, uint16_t protectedBit, uint16_t requestBit, uint16_t inheritedBit) {
  Text out;
  if ((control & protectedBit) != 0) out += u"P";
  if ((control & requestBit) != 0) out += u"AR";
  if ((control & inheritedBit) != 0) out += u"AI";
  return out;
}

Text AceText(const Ace& ace) {
  Text flags;
  for (size_t bit = 0; bit < 8; ++bit)
    if ((ace.flags & (1u << bit)) != 0 && kAceFlagBits[bit] != nullptr) flags += kAceFlagBits[bit];
  return u"(" + SddlAceType(ace.type) + u";" + flags + u";" + SddlRights(ace.type, ace.mask) + u";" +
         (ace.objectType ? GuidText(*ace.objectType) : Text()) + u";" +
         (ace.inheritedObjectType ? GuidText(*ace.inheritedObjectType) : Text()) + u";" + SidSddl(ace.sid) + u")";
}

Text AclText(const PresentAcl& present) {
  if (!present.acl) return u"NO_ACCESS_CONTROL";
  Text out;
  for (const Ace& ace : present.acl->aces) out += AceText(ace);
  return out;
}

}  // namespace

Text SddlAceType(uint8_t aceType) {
  switch (aceType) {
    case AceType::AccessAllowed: return u"A";
    case AceType::AccessDenied: return u"D";
    case AceType::SystemAudit: return u"AU";
    case AceType::SystemAlarm: return u"AL";
    case AceType::AccessAllowedObject: return u"OA";
    case AceType::AccessDeniedObject: return u"OD";
    case AceType::SystemAuditObject: return u"OU";
    case AceType::SystemAlarmObject: return u"OL";
    case AceType::AccessAllowedCallback: return u"XA";
    case AceType::AccessDeniedCallback: return u"XD";
    case AceType::AccessAllowedCallbackObject: return u"ZA";
    case AceType::SystemAuditCallback: return u"XU";
    case AceType::SystemMandatoryLabel: return u"ML";
    default: return HexLower(aceType);
  }
}

Text SddlRights(uint8_t aceType, uint32_t mask) {
  if (mask == 0) return {};
  if (aceType == AceType::SystemMandatoryLabel) {
    if ((mask & ~uint32_t{7}) != 0) return HexLower(mask);
    Text out;
    for (size_t bit = 0; bit < 3; ++bit)
      if ((mask & (1u << bit)) != 0) out += kLabelBits[bit];
    return out;
  }
  for (const NamedMask& named : kNamedMasks)
    if (named.mask == mask) return named.letters;
  Text out;
  for (size_t bit = 0; bit < 32; ++bit) {
    if ((mask & (1u << bit)) == 0) continue;
    if (kRightBits[bit] == nullptr) return HexLower(mask);
    out += kRightBits[bit];
  }
  return out;
}

Text SddlText(const SecurityDescriptor& sd) {
  Text out;
  if (sd.owner) out += u"O:" + SidSddl(*sd.owner);
  if (sd.group) out += u"G:" + SidSddl(*sd.group);
  if (sd.dacl)
    out += u"D:" +
           AclFlags(sd.control, SdControl::DaclProtected, SdControl::DaclAutoInheritReq, SdControl::DaclAutoInherited) +
           AclText(*sd.dacl);
  if (sd.sacl)
    out += u"S:" +
           AclFlags(sd.control, SdControl::SaclProtected, SdControl::SaclAutoInheritReq, SdControl::SaclAutoInherited) +
           AclText(*sd.sacl);
  return out;
}

}  // namespace brannock::platform
