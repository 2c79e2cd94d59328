// Without the system's message tables, the English texts Windows gives for
// the codes this program meets are kept here, as FormatMessageW returns them
// (before TrimMessageText cuts trailing full stops and line ends).
#include <algorithm>
#include <iterator>

#include "platform/messages.h"

namespace brannock::platform {
namespace {

struct Message {
  uint32_t code;
  const char16_t* text;
};

// Ordered by code for the binary search below.
constexpr Message kMessages[] = {
    {0x00000000, u"The operation completed successfully.\r\n"},
    {0x00000002, u"The system cannot find the file specified.\r\n"},
    {0x00000003, u"The system cannot find the path specified.\r\n"},
    {0x00000005, u"Access is denied.\r\n"},
    {0x00000006, u"The handle is invalid.\r\n"},
    {0x00000008, u"Not enough memory resources are available to process this command.\r\n"},
    {0x0000000D, u"The data is invalid.\r\n"},
    {0x0000000E, u"Not enough memory resources are available to complete this operation.\r\n"},
    {0x00000057, u"The parameter is incorrect.\r\n"},
    {0x0000007E, u"The specified module could not be found.\r\n"},
    {0x000000C1, u"%1 is not a valid Win32 application.\r\n"},
    {0x80004001, u"Not implemented\r\n"},
    {0x80004002, u"No such interface supported\r\n"},
    {0x80004003, u"Invalid pointer\r\n"},
    {0x80004004, u"Operation aborted\r\n"},
    {0x80004005, u"Unspecified error\r\n"},
    {0x8000FFFF, u"Catastrophic failure\r\n"},
    {0x80020003, u"Member not found.\r\n"},
    {0x80020004, u"Parameter not found.\r\n"},
    {0x80020005, u"Type mismatch.\r\n"},
    {0x80020006, u"Unknown name.\r\n"},
    {0x80020008, u"Bad variable type.\r\n"},
    {0x80020009, u"Exception occurred.\r\n"},
    {0x8002000A, u"Out of present range.\r\n"},
    {0x8002000B, u"Invalid index.\r\n"},
    {0x80028018, u"Old format or invalid type library.\r\n"},
    {0x80028019, u"Old format or invalid type library.\r\n"},
    {0x8002801C, u"Error accessing the OLE registry.\r\n"},
    {0x8002801D, u"Library not registered.\r\n"},
    {0x80028029, u"Invalid forward reference, or reference to uncompiled type.\r\n"},
    {0x8002802B, u"Element not found.\r\n"},
    {0x80028CA2, u"I/O error.\r\n"},
    {0x80029C4A, u"Error loading type library/DLL.\r\n"},
    {0x80040150, u"Could not read key from registry\r\n"},
    {0x80040154, u"Class not registered\r\n"},
    {0x800401E3, u"Operation unavailable\r\n"},
    {0x800401F0, u"CoInitialize has not been called.\r\n"},
    {0x800401F3, u"Invalid class string\r\n"},
};

// Win32 error codes wrapped as failure codes (HRESULT_FROM_WIN32) carry the
// message of the plain code.
constexpr uint32_t kWin32FacilityMask = 0xFFFF0000;
constexpr uint32_t kWin32Facility = 0x80070000;

const char16_t* FindMessage(uint32_t code) {
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), code,
                             [](const Message& m, uint32_t c) { return m.code < c; });
  return it != std::end(kMessages) && it->code == code ? it->text : nullptr;
}

}  // namespace

Text SystemMessageText(uint32_t code) {
  const char16_t* text = FindMessage(code);
  if (!text && (code & kWin32FacilityMask) == kWin32Facility) text = FindMessage(code & 0xFFFF);
  return text ? TrimMessageText(text) : Text();
}

}  // namespace brannock::platform
