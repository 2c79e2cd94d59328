// The decoder of binary security descriptors and its SDDL text, on the
// fixtures (which the Windows test checks against the system's conversion)
// and on descriptors built here.
#include <gtest/gtest.h>

#include "platform/sddl_text.h"
#include "platform/security_descriptor.h"
#include "platform/sid_text.h"
#include "support/descriptor_fixtures.h"

using namespace brannock;
using namespace brannock::platform;
namespace sd = brannock::testing::sd;

namespace {

Text Decoded(const std::vector<uint8_t>& bytes) {
  const SecurityDescriptorReading r = ReadSecurityDescriptor(bytes);
  return r.descriptor ? SddlText(*r.descriptor) : u"! " + r.fault.Line();
}

const sd::Bytes kWorld = sd::Sid(1, {0});
const sd::Bytes kSystem = sd::Sid(5, {18});

}  // namespace

TEST(SecurityDescriptor, FixturesDecodeToTheirText) {
  const auto fixtures = brannock::testing::DescriptorFixtures();
  ASSERT_GE(fixtures.size(), 20u);
  for (const auto& f : fixtures) EXPECT_EQ(Utf16ToUtf8(Decoded(f.bytes)), Utf16ToUtf8(f.text)) << f.name;
}

TEST(SecurityDescriptor, EveryTruncationIsAFaultNeverARead) {
  // A descriptor whose last byte belongs to its last ACE: every shorter
  // prefix lacks something it points to.
  const sd::Bytes whole = sd::Descriptor({.owner = sd::Sid(5, {32, 544}), .group = kSystem,
                                          .sacl = sd::Acl({sd::Ace(2, 0xC0, 3, kWorld)}),
                                          .dacl = sd::Acl({sd::Ace(0, 0, 0x1F, kSystem), sd::Ace(1, 0, 4, kWorld)})});
  ASSERT_EQ(Decoded(whole), u"O:BAG:SYD:(A;;CCDCLCSWRP;;;SY)(D;;LC;;;WD)S:(AU;SAFA;CCDC;;;WD)");
  for (size_t n = 0; n < whole.size(); ++n) {
    const sd::Bytes prefix(whole.begin(), whole.begin() + static_cast<long>(n));
    const SecurityDescriptorReading r = ReadSecurityDescriptor(prefix);
    EXPECT_FALSE(r.descriptor) << n;
    EXPECT_EQ(r.fault.kind, DescriptorFault::Kind::Damaged) << n;
    EXPECT_LE(r.fault.offset, n) << n;
  }
}

TEST(SecurityDescriptor, FaultsNameTheRecord) {
  sd::Bytes sixteen = sd::Descriptor({.owner = sd::Sid(5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})});
  EXPECT_EQ(Decoded(sixteen),
            u"! Damaged security descriptor (byte 20): the owner SID has 16 sub-authorities, more than 15");
  EXPECT_EQ(Decoded(sd::Descriptor({.dacl = sd::Acl({sd::Ace(0, 0, 1, kWorld)}, 1)})),
            u"! Damaged security descriptor (byte 20): the DACL has revision 1, not 2 to 4");
  // An ACE too short for its mask, and one whose SID runs out of it.
  sd::Bytes shortAce = sd::Descriptor({.dacl = sd::Acl({sd::Bytes{0, 0, 4, 0}})});
  EXPECT_EQ(Decoded(shortAce), u"! Damaged security descriptor (byte 28): the DACL's ACE 1 ends before its access mask");
  sd::Bytes sidOut = sd::Descriptor({.dacl = sd::Acl({sd::Ace(0, 0, 1, kWorld)})});
  sidOut[30] = 8;  // AceSize 8: the SID lies beyond the ACE
  EXPECT_EQ(Decoded(sidOut), u"! Damaged security descriptor (byte 36): the DACL's ACE 1's SID runs past its end");
  const sd::Bytes objectShort = sd::Descriptor({.dacl = sd::Acl({sd::Ace(5, 0, 0x100, {}, {1, 0, 0, 0, 9, 9})}, 4)});
  EXPECT_EQ(Decoded(objectShort),
            u"! Damaged security descriptor (byte 28): the DACL's ACE 1 ends inside its object GUIDs");
  // A condition after a callback ACE's SID is not decoded; zero padding is
  // only padding.
  EXPECT_EQ(Decoded(sd::Descriptor({.dacl = sd::Acl({sd::Ace(9, 0, 1, kWorld, {}, {'a', 'r', 't', 'x'})})})),
            u"! Security descriptor not decoded (byte 28): the DACL's ACE 1 carries a condition, which is not decoded");
  EXPECT_EQ(Decoded(sd::Descriptor({.dacl = sd::Acl({sd::Ace(9, 0, 1, kWorld, {}, {0, 0, 0, 0})})})),
            u"D:(XA;;CC;;;WD)");
}

TEST(SecurityDescriptor, AclFormsAndAceKinds) {
  // A null DACL, and flags on an empty one; ACL revision 3 is accepted.
  EXPECT_EQ(Decoded(sd::Descriptor({.nullDacl = true})), u"D:NO_ACCESS_CONTROL");
  EXPECT_EQ(Decoded(sd::Descriptor({.dacl = sd::Acl({}, 3), .control = 0x1000 | 0x100 | 0x400})), u"D:PARAI");
  // Object ACEs with neither, one or both GUIDs; callback and label kinds.
  const sd::Bytes g1{0x53, 0x1a, 0x72, 0xab, 0x2f, 0x1e, 0xd0, 0x11, 0x98, 0x19, 0x00, 0xaa, 0x00, 0x40, 0x52, 0x9b};
  sd::Bytes both{3, 0, 0, 0};
  both.insert(both.end(), g1.begin(), g1.end());
  both.insert(both.end(), g1.begin(), g1.end());
  sd::Bytes inherited{2, 0, 0, 0};
  inherited.insert(inherited.end(), g1.begin(), g1.end());
  EXPECT_EQ(Decoded(sd::Descriptor({.dacl = sd::Acl({sd::Ace(5, 0, 0x100, kWorld, {0, 0, 0, 0}),
                                                      sd::Ace(6, 2, 0x30, kWorld, inherited),
                                                      sd::Ace(11, 0, 1, kWorld, both)},
                                                     4)})),
            u"D:(OA;;CR;;;WD)(OD;CI;RPWP;;ab721a53-1e2f-11d0-9819-00aa0040529b;WD)"
            u"(ZA;;CC;ab721a53-1e2f-11d0-9819-00aa0040529b;ab721a53-1e2f-11d0-9819-00aa0040529b;WD)");
  EXPECT_EQ(Decoded(sd::Descriptor({.sacl = sd::Acl({sd::Ace(0x11, 0, 7, sd::Sid(16, {12288})),
                                                      sd::Ace(0x11, 0, 9, sd::Sid(16, {4096})),
                                                      sd::Ace(3, 0, 0, kWorld), sd::Ace(13, 0, 1, kWorld)})})),
            u"S:(ML;;NWNRNX;;;HI)(ML;;0x9;;;LW)(AL;;;;;WD)(XU;;CC;;;WD)");
  // Every ACE kind without a text is not decoded, named by its number.
  for (uint8_t type : {4, 12, 14, 15, 16, 18, 19, 20, 21, 0x55}) {
    const SecurityDescriptorReading r = ReadSecurityDescriptor(sd::Descriptor({.dacl = sd::Acl({sd::Ace(type, 0, 1, kWorld)})}));
    ASSERT_FALSE(r.descriptor);
    EXPECT_EQ(r.fault.kind, DescriptorFault::Kind::NotDecoded) << int(type);
  }
}

TEST(SecurityDescriptor, RightsAndFlagsInBitOrder) {
  EXPECT_EQ(SddlRights(0, 0x1F), u"CCDCLCSWRP");
  EXPECT_EQ(SddlRights(0, 0xF01FF), u"CCDCLCSWRPWPDTLOCRSDRCWDWO");
  EXPECT_EQ(SddlRights(0, 0xF0000000), u"GAGXGWGR");
  // Whole masks by their name; KEY_EXECUTE has KEY_READ's value.
  EXPECT_EQ(SddlRights(0, 0x1200A0), u"FX");
  EXPECT_EQ(SddlRights(0, 0xF003F), u"KA");
  EXPECT_EQ(SddlRights(0, 0x20006), u"KW");
  // A bit without letters (SYNCHRONIZE, 0x200) makes the mask hexadecimal.
  EXPECT_EQ(SddlRights(0, 0x100000), u"0x100000");
  EXPECT_EQ(SddlRights(0, 0x201), u"0x201");
  EXPECT_EQ(SddlRights(0, 0), u"");
  // ACE flags in bit order; 0x20 has no letters.
  EXPECT_EQ(Decoded(sd::Descriptor({.dacl = sd::Acl({sd::Ace(0, 0xFF, 3, kWorld)})})), u"D:(A;OICINPIOIDSAFA;CCDC;;;WD)");
}

TEST(SidText, StringFormsAliasesAndNames) {
  auto sid = [](uint64_t authority, std::vector<uint32_t> subs) { return Sid{1, authority, std::move(subs)}; };
  EXPECT_EQ(SidString(sid(5, {32, 544})), u"S-1-5-32-544");
  EXPECT_EQ(SidString(sid(5, {})), u"S-1-5");
  EXPECT_EQ(SidString(sid(0xFFFFFFFF, {1})), u"S-1-4294967295-1");
  EXPECT_EQ(SidString(sid(0x100000000, {1})), u"S-1-0x000100000000-1");
  EXPECT_EQ(SidString(sid(0xABCDEF123456, {})), u"S-1-0xabcdef123456");
  EXPECT_EQ(SidSddl(sid(5, {32, 544})), u"BA");
  EXPECT_EQ(SidSddl(sid(5, {32, 562})), u"S-1-5-32-562");  // no alias
  EXPECT_EQ(SidSddl(sid(5, {84, 0, 0, 0, 0, 0})), u"UD");
  EXPECT_EQ(SidSddl(sid(5, {84, 0, 0, 0, 0})), u"S-1-5-84-0-0-0-0");
  EXPECT_EQ(SidTrustee(sid(5, {32, 562})), u"Distributed COM Users (S-1-5-32-562)");
  EXPECT_EQ(SidTrustee(sid(1, {0})), u"Everyone (S-1-1-0)");
  // An account of a machine or domain: named, but with its full SID in SDDL.
  const Sid admin = sid(5, {21, 1, 2, 3, 500});
  EXPECT_EQ(SidSddl(admin), u"S-1-5-21-1-2-3-500");
  EXPECT_EQ(SidTrustee(admin), u"Administrator (S-1-5-21-1-2-3-500)");
  EXPECT_EQ(SidTrustee(sid(5, {21, 1, 2, 3, 1001})), u"S-1-5-21-1-2-3-1001");
}
