// The system's SDDL conversion (advapi32) against the program's own text of
// the same bytes: the fixtures, descriptors the system builds from SDDL, and
// random descriptors within what both write alike.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "platform/sddl.h"
#include "platform/sddl_text.h"
#include "support/descriptor_fixtures.h"

using namespace brannock;
using namespace brannock::platform;
namespace sd = brannock::testing::sd;

namespace {

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

Text OwnText(const std::vector<uint8_t>& bytes) {
  const SecurityDescriptorReading r = ReadSecurityDescriptor(bytes);
  return r.descriptor ? SddlText(*r.descriptor) : u"! " + r.fault.Line();
}

// A small deterministic generator, so that a failure can be repeated.
class Random {
 public:
  uint32_t Next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state_ >> 33);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint64_t state_ = 29;
};

// SIDs that Wine's conversion writes as Windows documents them: the aliases
// it knows, and SIDs without one.
sd::Bytes RandomSid(Random& r) {
  switch (r.Below(6)) {
    case 0: return sd::Sid(5, {32, 544 + r.Below(13)});  // BA ... NO, and 553 without an alias
    case 1: return sd::Sid(5, {r.Below(24)});
    case 2: return sd::Sid(1, {0});
    case 3: return sd::Sid(3, {r.Below(5)});
    case 4: return sd::Sid(16, {4096u * r.Below(5)});
    default: return sd::Sid(5, {21, r.Next(), r.Next(), r.Next(), 500 + r.Below(30)});
  }
}

uint32_t RandomMask(Random& r) {
  static const uint32_t named[] = {0x1F01FF, 0x120089, 0x120116, 0x1200A0, 0xF003F, 0x20019, 0x20006, 0};
  switch (r.Below(4)) {
    case 0: return named[r.Below(8)];
    case 1: return r.Next();
    default: return r.Next() & 0xF00F01FF;  // bits with letters only
  }
}

}  // namespace

TEST(SddlWin32, FixturesAsTheSystemConvertsThem) {
  const bool wine = UnderWine();
  for (const auto& f : brannock::testing::DescriptorFixtures()) {
    const DescriptorText d = DescribeSecurityDescriptor(f.bytes);
    if (f.text.starts_with(u"! ")) {
      // Damaged bytes never reach the system.
      EXPECT_EQ(Utf16ToUtf8(u"! " + d.problem), Utf16ToUtf8(f.text)) << f.name;
      EXPECT_TRUE(d.sddl.empty()) << f.name;
      continue;
    }
    EXPECT_EQ(d.problem, u"") << f.name;
    // Under Wine the named departures must still be as recorded, so that a
    // change in Wine shows; Windows gives the documented text.
    const Text expected = wine && !f.wineText.empty() ? f.wineText : f.text;
    EXPECT_EQ(Utf16ToUtf8(d.sddl), Utf16ToUtf8(expected)) << f.name;
  }
}

TEST(SddlWin32, DescriptorsTheSystemBuildsReadBack) {
  // COM's documented defaults and other descriptors written as SDDL: the
  // system makes the bytes, the program's own text must be the system's.
  for (const wchar_t* text : {L"O:BAG:BAD:(A;;CCDCLCSWRP;;;SY)(A;;CCDCLCSWRP;;;BA)(A;;CCDCLCSWRP;;;IU)",
                              L"O:BAG:BAD:(A;;CCDCLC;;;PS)(A;;CCDC;;;SY)(A;;CCDCLC;;;AN)(D;;CCDCLC;;;NU)",
                              L"O:SYG:SYD:PAI(A;OICIIO;GA;;;CO)(A;CIID;KR;;;BU)(A;;FA;;;SY)",
                              L"D:AR(A;;0x1200a9;;;WD)", L"S:(AU;SAFA;KW;;;WD)", L"G:S-1-5-21-1-2-3-513"}) {
    PSECURITY_DESCRIPTOR built = nullptr;
    ULONG size = 0;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(text, SDDL_REVISION_1, &built, &size));
    const auto* bytes = static_cast<const uint8_t*>(built);
    const std::vector<uint8_t> copy(bytes, bytes + size);
    LocalFree(built);
    const DescriptorText d = DescribeSecurityDescriptor(copy);
    ASSERT_EQ(d.problem, u"");
    EXPECT_EQ(Utf16ToUtf8(OwnText(copy)), Utf16ToUtf8(d.sddl));
  }
}

TEST(SddlWin32, RandomDescriptorsAgreeWithTheSystem) {
  Random r;
  int compared = 0;
  for (int n = 0; n < 3000; ++n) {
    sd::Parts p;
    if (r.Below(2) == 0) p.owner = RandomSid(r);
    if (r.Below(2) == 0) p.group = RandomSid(r);
    // Allowed, denied, audit and alarm ACEs with any documented flags.
    auto randomAcl = [&](bool system) {
      std::vector<sd::Bytes> aces;
      for (uint32_t i = r.Below(5); i > 0; --i) {
        const uint8_t type = static_cast<uint8_t>(system ? 2 + r.Below(2) : r.Below(2));
        aces.push_back(sd::Ace(type, static_cast<uint8_t>(r.Next() & 0xDF), RandomMask(r), RandomSid(r)));
      }
      sd::Bytes acl{2, 0, 0, 0, static_cast<uint8_t>(aces.size()), 0, 0, 0};
      for (const auto& a : aces) acl.insert(acl.end(), a.begin(), a.end());
      acl[2] = static_cast<uint8_t>(acl.size());
      acl[3] = static_cast<uint8_t>(acl.size() >> 8);
      return acl;
    };
    if (r.Below(3) != 0) p.dacl = randomAcl(false);
    if (r.Below(3) == 0) p.sacl = randomAcl(true);
    // The DACL's flags; Wine writes them for the SACL too, so not with one.
    p.control = static_cast<uint16_t>(r.Next() & (0x1000 | 0x100 | 0x400));
    if (p.dacl.empty() || !p.sacl.empty()) p.control = 0;
    const std::vector<uint8_t> bytes = sd::Descriptor(p);
    const DescriptorText d = DescribeSecurityDescriptor(bytes);
    ASSERT_EQ(d.problem, u"") << n;
    ASSERT_EQ(Utf16ToUtf8(OwnText(bytes)), Utf16ToUtf8(d.sddl)) << n;
    ++compared;
  }
  EXPECT_EQ(compared, 3000);
}
