// The renderer over the file reader on a widl-compiled library. The expected
// unit is what the same renderer gives over oleaut32 (Wine's) for that file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "typelib/reader_fixtures.h"
#include "typelib/unit_text.h"

namespace brannock::typelib {
namespace {

using namespace testing;

TextList ExpectedLines(const char* name) {
  std::ifstream in(std::filesystem::path(BRANNOCK_TEST_DATA) / "render" / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  TextList lines = Split(Utf8ToUtf16(text.str()), u'\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

TEST(RenderFixture, UnitOfTheDemoLibrary) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("render_demo.tlb");
  ASSERT_TRUE(lib);
  TObjectData record;
  record.Server = u"render_demo.tlb";
  TextList lines;
  EXPECT_EQ(TypeLibToStrings(record, *lib, &lines), u"RenderDemo");
  const TextList expected = ExpectedLines("render_demo.txt");
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(Utf16ToUtf8(lines[i]), Utf16ToUtf8(expected[i])) << "line " << i + 1;
}

}  // namespace
}  // namespace brannock::typelib
