#include "platform/security_descriptor.h"

namespace brannock::platform {

namespace {

constexpr size_t kHeaderSize = 20;  // SECURITY_DESCRIPTOR_RELATIVE
constexpr size_t kAclHeaderSize = 8;
constexpr size_t kAceHeaderSize = 4;
constexpr size_t kSidHeaderSize = 8;
constexpr uint8_t kMaxSubAuthorities = 15;
constexpr uint8_t kMinAclRevision = 2;  // ACL_REVISION
constexpr uint8_t kMaxAclRevision = 4;  // ACL_REVISION_DS
constexpr uint32_t kObjectTypePresent = 0x1;
constexpr uint32_t kInheritedObjectTypePresent = 0x2;

bool Fits(size_t size, size_t offset, size_t length) { return offset <= size && length <= size - offset; }

uint16_t Le16(ByteView b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t Le32(ByteView b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

Text Num(uint64_t v) { return UIntToText(v); }
Text Hex(uint64_t v) { return u"0x" + HexUpper(v); }

// The reader of one descriptor; the first fault ends it.
class Reader {
 public:
  explicit Reader(ByteView bytes) : bytes_(bytes) {}

  SecurityDescriptorReading Read() {
    SecurityDescriptorReading out;
    SecurityDescriptor sd;
    if (ReadDescriptor(sd))
      out.descriptor = std::move(sd);
    else
      out.fault = fault_;
    return out;
  }

 private:
  bool Fail(size_t offset, Text reason, DescriptorFault::Kind kind = DescriptorFault::Kind::Damaged) {
    fault_ = DescriptorFault{kind, offset, std::move(reason)};
    return false;
  }

  bool ReadDescriptor(SecurityDescriptor& sd) {
    if (bytes_.size() < kHeaderSize)
      return Fail(0, u"the value has " + Num(bytes_.size()) + u" bytes, fewer than the 20 of a descriptor's header");
    if (bytes_[0] != 1) return Fail(0, u"revision " + Num(bytes_[0]) + u" is not that of a security descriptor (1)");
    sd.control = Le16(bytes_, 2);
    if ((sd.control & SdControl::SelfRelative) == 0)
      return Fail(2, u"control " + Hex(sd.control) + u" does not mark the self-relative form");
    const uint32_t ownerAt = Le32(bytes_, 4);
    const uint32_t groupAt = Le32(bytes_, 8);
    const uint32_t saclAt = Le32(bytes_, 12);
    const uint32_t daclAt = Le32(bytes_, 16);
    if (ownerAt != 0 && !ReadSid(ownerAt, bytes_.size(), u"the owner SID", sd.owner.emplace())) return false;
    if (groupAt != 0 && !ReadSid(groupAt, bytes_.size(), u"the group SID", sd.group.emplace())) return false;
    if ((sd.control & SdControl::SaclPresent) != 0 && !ReadPresentAcl(saclAt, u"SACL", sd.sacl.emplace()))
      return false;
    if ((sd.control & SdControl::DaclPresent) != 0 && !ReadPresentAcl(daclAt, u"DACL", sd.dacl.emplace()))
      return false;
    return true;
  }

  // A SID at `at` that must end by `end`.
  bool ReadSid(size_t at, size_t end, const Text& what, Sid& sid) {
    if (!Fits(end, at, kSidHeaderSize)) return Fail(at, what + u" runs past its end");
    sid.revision = bytes_[at];
    if (sid.revision != 1) return Fail(at, what + u" has revision " + Num(sid.revision) + u", not 1");
    const uint8_t count = bytes_[at + 1];
    if (count > kMaxSubAuthorities)
      return Fail(at, what + u" has " + Num(count) + u" sub-authorities, more than 15");
    if (!Fits(end, at + kSidHeaderSize, size_t{count} * 4))
      return Fail(at, what + u" with " + Num(count) + u" sub-authorities runs past its end");
    sid.authority = 0;
    for (size_t i = 0; i < 6; ++i) sid.authority = sid.authority << 8 | bytes_[at + 2 + i];
    sid.subAuthorities.clear();
    for (size_t i = 0; i < count; ++i) sid.subAuthorities.push_back(Le32(bytes_, at + kSidHeaderSize + i * 4));
    return true;
  }

  bool ReadPresentAcl(uint32_t at, const Text& name, PresentAcl& present) {
    if (at == 0) return true;  // present and null: no access control
    if (!Fits(bytes_.size(), at, kAclHeaderSize))
      return Fail(at, u"the " + name + u" runs past the end of the " + Num(bytes_.size()) + u" bytes");
    Acl& acl = present.acl.emplace();
    acl.revision = bytes_[at];
    if (acl.revision < kMinAclRevision || acl.revision > kMaxAclRevision)
      return Fail(at, u"the " + name + u" has revision " + Num(acl.revision) + u", not 2 to 4");
    const uint16_t aclSize = Le16(bytes_, at + 2);
    const uint16_t count = Le16(bytes_, at + 4);
    if (aclSize < kAclHeaderSize || !Fits(bytes_.size(), at, aclSize))
      return Fail(at, u"the " + name + u" claims " + Num(aclSize) + u" bytes, beyond the " + Num(bytes_.size()) +
                          u" of the value");
    const size_t end = size_t{at} + aclSize;
    size_t ace = size_t{at} + kAclHeaderSize;
    for (uint16_t i = 0; i < count; ++i) {
      const Text what = u"the " + name + u"'s ACE " + Num(i + 1);
      if (!Fits(end, ace, kAceHeaderSize)) return Fail(ace, what + u" runs past the end of its ACL");
      const uint16_t aceSize = Le16(bytes_, ace + 2);
      if (aceSize < kAceHeaderSize || !Fits(end, ace, aceSize))
        return Fail(ace, what + u" claims " + Num(aceSize) + u" bytes, beyond the end of its ACL");
      if (!ReadAce(ace, ace + aceSize, what, acl.aces.emplace_back())) return false;
      ace += aceSize;
    }
    return true;
  }

  bool ReadAce(size_t at, size_t end, const Text& what, Ace& ace) {
    ace.type = bytes_[at];
    ace.flags = bytes_[at + 1];
    const bool plain = ace.type == AceType::AccessAllowed || ace.type == AceType::AccessDenied ||
                       ace.type == AceType::SystemAudit || ace.type == AceType::SystemAlarm ||
                       ace.type == AceType::SystemMandatoryLabel;
    const bool callback = ace.type == AceType::AccessAllowedCallback || ace.type == AceType::AccessDeniedCallback ||
                          ace.type == AceType::AccessAllowedCallbackObject ||
                          ace.type == AceType::SystemAuditCallback;
    if (!plain && !callback && !ace.IsObjectAce())
      return Fail(at, what + u" is of type " + Hex(ace.type) + u", which is not decoded",
                  DescriptorFault::Kind::NotDecoded);
    size_t p = at + kAceHeaderSize;
    if (!Fits(end, p, 4)) return Fail(at, what + u" ends before its access mask");
    ace.mask = Le32(bytes_, p);
    p += 4;
    if (ace.IsObjectAce()) {
      if (!Fits(end, p, 4)) return Fail(at, what + u" ends before its object flags");
      const uint32_t objectFlags = Le32(bytes_, p);
      p += 4;
      for (auto [bit, guid] : {std::pair{kObjectTypePresent, &ace.objectType},
                               std::pair{kInheritedObjectTypePresent, &ace.inheritedObjectType}}) {
        if ((objectFlags & bit) == 0) continue;
        if (!Fits(end, p, 16)) return Fail(at, what + u" ends inside its object GUIDs");
        GuidBytes& g = guid->emplace();
        for (size_t i = 0; i < 16; ++i) g[i] = bytes_[p + i];
        p += 16;
      }
    }
    if (!ReadSid(p, end, what + u"'s SID", ace.sid)) return false;
    const size_t sidEnd = p + kSidHeaderSize + ace.sid.subAuthorities.size() * 4;
    // A callback ACE's bytes after its SID are its condition.
    if (callback && sidEnd < end) {
      for (size_t i = sidEnd; i < end; ++i)
        if (bytes_[i] != 0)
          return Fail(at, what + u" carries a condition, which is not decoded", DescriptorFault::Kind::NotDecoded);
    }
    return true;
  }

  ByteView bytes_;
  DescriptorFault fault_;
};

}  // namespace

bool Ace::IsObjectAce() const {
  return type == AceType::AccessAllowedObject || type == AceType::AccessDeniedObject ||
         type == AceType::SystemAuditObject || type == AceType::SystemAlarmObject ||
         type == AceType::AccessAllowedCallbackObject;
}

Text DescriptorFault::Line() const {
  const Text where = u" (byte " + Num(offset) + u"): ";
  return (kind == Kind::Damaged ? u"Damaged security descriptor" : u"Security descriptor not decoded") + where +
         reason;
}

SecurityDescriptorReading ReadSecurityDescriptor(ByteView bytes) { return Reader(bytes).Read(); }

}  // namespace brannock::platform
