// GetEnvironmentList over the POSIX environment, which the test can
// replace entry by entry (hidden "=C:" entries included).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/environment_list.h"

extern char** environ;

using namespace brannock;
using platform::GetEnvironmentList;

TEST(GetEnvironmentList, BlockOrderTrimmedWithoutHiddenEntries) {
  // Replace the process environment for the test and put it back after.
  static std::vector<std::string> saved;
  saved.clear();
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) saved.emplace_back(*e);
  static char first[] = "FIRST=1";
  static char hidden[] = "=C:=C:\\work";
  static char padded[] = "PADDED=  value \t";
  static char last[] = "LAST=";
  ::clearenv();
  ::putenv(first);
  ::putenv(hidden);
  ::putenv(padded);
  ::putenv(last);

  TextList list{u"stale"};
  GetEnvironmentList(list);

  ::clearenv();
  for (std::string& s : saved) ::putenv(s.data());

  EXPECT_EQ(list, (TextList{u"FIRST=1", u"PADDED=  value", u"LAST="}));
}
