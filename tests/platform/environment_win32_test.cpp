// The environment routines against the real process environment of a
// Windows (or Wine) process.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <windows.h>

#include <algorithm>

#include "platform/environment.h"
#include "platform/environment_list.h"
#include "platform/win32/wide_text.h"

using namespace brannock;
using platform::EnvironmentBlock;
using platform::ExpandWithEntries;

namespace {

void SetVariable(const wchar_t* name, const wchar_t* value) { ASSERT_EQ(_wputenv_s(name, value), 0); }

// The system's own expansion over the process environment.
Text SystemExpansion(TextView text) {
  const std::wstring source = platform::ToWide(text);
  std::wstring buffer(32768, L'\0');
  const DWORD needed = ExpandEnvironmentStringsW(source.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  EXPECT_GT(needed, 0u);
  return platform::FromWide(buffer.data(), needed == 0 ? 0 : needed - 1);
}

bool Holds(const TextList& list, TextView entry) { return std::find(list.begin(), list.end(), entry) != list.end(); }

}  // namespace

TEST(EnvironmentWin32, BlockAndListHoldTheProcessEnvironment) {
  SetVariable(L"BRANNOCK_ENV_TEST", L"  C:\\Program Files\\Brannock\t");
  const TextList block = EnvironmentBlock();
  EXPECT_TRUE(Holds(block, u"BRANNOCK_ENV_TEST=  C:\\Program Files\\Brannock\t"));
  EXPECT_TRUE(std::none_of(block.begin(), block.end(), [](const Text& e) { return e.empty(); }));

  TextList list{u"stale"};
  platform::GetEnvironmentList(list);
  EXPECT_FALSE(Holds(list, u"stale"));
  EXPECT_TRUE(Holds(list, u"BRANNOCK_ENV_TEST=  C:\\Program Files\\Brannock"));
  EXPECT_TRUE(std::none_of(list.begin(), list.end(), [](const Text& e) { return e.empty() || e[0] == u'='; }));
  // Every entry of the block that is not hidden is there, in block order.
  TextList expected;
  for (const Text& e : block)
    if (e[0] != u'=') expected.push_back(TrimControls(e));
  EXPECT_EQ(list, expected);
}

TEST(EnvironmentWin32, PortableExpansionAgreesWithTheSystem) {
  // ExpandWithEntries stands in for ExpandEnvironmentStringsW on POSIX; on
  // the same environment both must give the same text.
  SetVariable(L"BRANNOCK_A", L"alpha");
  SetVariable(L"BRANNOCK_B", L"%BRANNOCK_A%");
  const TextList entries = EnvironmentBlock();
  for (const Text& text : {Text(u"%BRANNOCK_A%%BRANNOCK_A%"), Text(u"100%"), Text(u"%%"), Text(u"%"),
                           Text(u"a%BRANNOCK_A"), Text(u"%BRANNOCK_B%"),
                           Text(u"%Brannock_A%\\%BRANNOCK_NONE%\\%BRANNOCK_A%"), Text(u"%=C:%")}) {
    EXPECT_EQ(SystemExpansion(text), ExpandWithEntries(text, entries)) << Utf16ToUtf8(text);
  }
  // Where they part: after an unknown name, Wine keeps "%NAME%" whole and
  // goes on behind it; the portable expansion (like Windows) goes on from
  // the second "%", which can open the next reference.
  EXPECT_EQ(SystemExpansion(u"%BRANNOCK_NONE%BRANNOCK_A%"), u"%BRANNOCK_NONE%BRANNOCK_A%");
  EXPECT_EQ(ExpandWithEntries(u"%BRANNOCK_NONE%BRANNOCK_A%", entries), u"%BRANNOCK_NONEalpha");
}
