// The table of Windows' English messages used where the system has none.
#include <gtest/gtest.h>

#include "platform/messages.h"

namespace brannock::platform {
namespace {

TEST(ErrorCodeText, MessageThenCodeInUpperHex) {
  EXPECT_EQ(ErrorCodeText(0x80004001), u"Not implemented (Error code: 0x80004001)");
  EXPECT_EQ(ErrorCodeText(0x8002801D), u"Library not registered (Error code: 0x8002801D)");
  EXPECT_EQ(ErrorCodeText(0x80029C4A), u"Error loading type library/DLL (Error code: 0x80029C4A)");
  EXPECT_EQ(ErrorCodeText(5), u"Access is denied (Error code: 0x5)");
  EXPECT_EQ(ErrorCodeText(0x8000ABCD), u" (Error code: 0x8000ABCD)");
}

TEST(SystemMessageText, EnglishTextsOfTheCodesMet) {
  const std::pair<uint32_t, const char16_t*> table[] = {
      {0x80004001, u"Not implemented"},
      {0x80004005, u"Unspecified error"},
      {0x80070057, u"The parameter is incorrect"},
      {0x80070005, u"Access is denied"},
      {0x80004002, u"No such interface supported"},
      {0x80004003, u"Invalid pointer"},
      {0x8002801D, u"Library not registered"},
      {0x80029C4A, u"Error loading type library/DLL"},
      {0x8002802B, u"Element not found"},
      {0x80028018, u"Old format or invalid type library"},
      {0x80040154, u"Class not registered"},
      {0x800401F3, u"Invalid class string"},
      {0x800401E3, u"Operation unavailable"},
      {0x80070002, u"The system cannot find the file specified"},
      {0x80070003, u"The system cannot find the path specified"},
      {2, u"The system cannot find the file specified"},
      {0x80020005, u"Type mismatch"},
      {0x80020008, u"Bad variable type"},
      {0x8002000A, u"Out of present range"},
      {0, u"The operation completed successfully"},
  };
  for (const auto& [code, text] : table) EXPECT_EQ(SystemMessageText(code), text) << std::hex << code;
  // Codes without a message, also Win32-wrapped ones.
  EXPECT_EQ(SystemMessageText(0x80001234), u"");
  EXPECT_EQ(SystemMessageText(0x8007FFFF), u"");
  EXPECT_EQ(SystemMessageText(0xFFFFFFFF), u"");
  EXPECT_EQ(SystemMessageText(0x00070002), u"");
}

}  // namespace
}  // namespace brannock::platform
