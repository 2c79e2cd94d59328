#include "ui/logic/typelib_choice.h"

#include <gtest/gtest.h>

#include "platform/messages.h"

namespace brannock::ui {
namespace {

TEST(TypeLibChoice, ItemsAndFilesOfEachResource) {
  std::vector<typelib::TypeLibResource> list(3);
  list[0].name = u"MSForms";
  list[0].guid = TextToGuid(u"{0D452EE1-E08F-101A-852E-02608C4D0BB4}");
  list[0].majorVersion = 2;
  list[1].number = 3;
  list[1].name = u"VBRUN";
  list[1].minorVersion = 12;
  list[2].number = 7;
  list[2].hr = typelib::Code::TypeUnsupFormat;
  const TextList items = TypeLibChoiceItems(list);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], u"1: MSForms {0D452EE1-E08F-101A-852E-02608C4D0BB4} 2.0");
  EXPECT_EQ(items[1], u"3: VBRUN {00000000-0000-0000-0000-000000000000} 0.12");
  EXPECT_EQ(items[2], u"7: " + platform::ErrorCodeText(0x80028019));
  EXPECT_EQ(TypeLibChoiceFile(u"C:\\FM20.DLL", list, 0), u"C:\\FM20.DLL");
  EXPECT_EQ(TypeLibChoiceFile(u"C:\\FM20.DLL", list, 1), u"C:\\FM20.DLL\\3");
  EXPECT_EQ(TypeLibChoiceFile(u"/x/a.dll", list, 9), u"/x/a.dll");
}

}  // namespace
}  // namespace brannock::ui
