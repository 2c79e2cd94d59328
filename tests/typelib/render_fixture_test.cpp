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

// Each unit as oleaut32 gives it for the same file, except where Windows
// is followed against Wine (see scripts/wine-render-parity.sh): Wine keeps
// an [lcid] parameter that is not the last one in a dispatch view.
TEST(RenderFixture, UnitsOfTheFixtureLibraries) {
  REQUIRE_TLB_FIXTURES();
  const std::pair<const char*, const char16_t*> fixtures[] = {{"render_demo", u"RenderDemo"},
                                                              {"dispatch_forms", u"DispatchForms"},
                                                              {"dispatch_declared", u"DispatchDeclared"},
                                                              {"import_missing", u"ImportMissing"}};
  for (const auto& [name, unitName] : fixtures) {
    SCOPED_TRACE(name);
    const std::string file = std::string(name) + ".tlb";
    auto lib = LoadFixture(file.c_str());
    ASSERT_TRUE(lib);
    UnitHeader header;
    header.fileName = Utf8ToUtf16(file);
    TextList lines;
    EXPECT_EQ(TypeLibToStrings(header, *lib, &lines), unitName);
    const TextList expected = ExpectedLines((std::string(name) + ".txt").c_str());
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(Utf16ToUtf8(lines[i]), Utf16ToUtf8(expected[i])) << "line " << i + 1;
  }
}

}  // namespace
}  // namespace brannock::typelib
