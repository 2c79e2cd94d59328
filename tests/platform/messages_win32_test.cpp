// FormatMessageW texts of a Windows (or Wine) system.
#include <gtest/gtest.h>

#include "platform/messages.h"

using namespace brannock;
using platform::ErrorCodeText;
using platform::SystemMessageText;

TEST(MessagesWin32, SystemTextsAreTrimmed) {
  // Codes with a message in Wine's tables as in Windows'.
  for (uint32_t code : {0x2u, 0x5u, 0x57u, 0x80004001u, 0x80004005u, 0x80070005u}) {
    const Text text = SystemMessageText(code);
    ASSERT_FALSE(text.empty()) << std::hex << code;
    EXPECT_LE(text.size(), 256u);
    EXPECT_GT(text.back(), u' ') << Utf16ToUtf8(text);
    EXPECT_NE(text.back(), u'.') << Utf16ToUtf8(text);
    EXPECT_EQ(text.find(u'\r'), Text::npos);
  }
  // An HRESULT wrapping a Win32 error carries that error's message.
  EXPECT_EQ(SystemMessageText(0x80070005u), SystemMessageText(5));
  // A code without a message gives the empty text.
  EXPECT_EQ(SystemMessageText(0x2000BEEFu), u"");
  // Wine's texts are its own ("Access denied." where Windows says "Access
  // is denied."), and it has none for most COM and type library codes, so
  // under Wine their error text is the code alone.
  EXPECT_EQ(SystemMessageText(0x80004001u), u"Not implemented");
  EXPECT_EQ(SystemMessageText(5), u"Access denied");
  EXPECT_EQ(SystemMessageText(0x8002801Du), u"");  // TYPE_E_LIBNOTREGISTERED
}

TEST(MessagesWin32, ErrorCodeTextShowsTheCodeInUpperHex) {
  EXPECT_EQ(ErrorCodeText(0x80004001u), SystemMessageText(0x80004001u) + u" (Error code: 0x80004001)");
  EXPECT_EQ(ErrorCodeText(5), SystemMessageText(5) + u" (Error code: 0x5)");
  EXPECT_EQ(ErrorCodeText(0x2000BEEFu), u" (Error code: 0x2000BEEF)");
}
