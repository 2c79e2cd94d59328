#include <gtest/gtest.h>

#include "platform/environment_list.h"

using namespace brannock;
using platform::ExpandEnvVars;

TEST(ExpandEnvVars, PercentAndBackslashForms) {
  const TextList env{u"SystemRoot=C:\\Windows"};
  EXPECT_EQ(ExpandEnvVars(env, u"%SystemRoot%\\System32\\x.dll"), u"C:\\Windows\\System32\\x.dll");
  EXPECT_EQ(ExpandEnvVars(env, u"\\SystemRoot\\System32\\x.dll"), u"C:\\Windows\\System32\\x.dll");
  // Both searches are case-sensitive.
  EXPECT_EQ(ExpandEnvVars(env, u"%systemroot%\\x.dll"), u"%systemroot%\\x.dll");
  EXPECT_EQ(ExpandEnvVars(env, u"\\SYSTEMROOT\\x.dll"), u"\\SYSTEMROOT\\x.dll");
  // The backslash form is found anywhere in the text.
  EXPECT_EQ(ExpandEnvVars(env, u"D:\\old\\SystemRoot\\x.dll"), u"D:\\oldC:\\Windows\\x.dll");
  // The percent form is preferred; only one occurrence per line.
  EXPECT_EQ(ExpandEnvVars(env, u"\\SystemRoot%SystemRoot%"), u"\\SystemRootC:\\Windows");
  EXPECT_EQ(ExpandEnvVars(env, u"%SystemRoot%;%SystemRoot%"), u"C:\\Windows;%SystemRoot%");
  EXPECT_EQ(ExpandEnvVars(env, u"no reference"), u"no reference");
  EXPECT_EQ(ExpandEnvVars({}, u"%SystemRoot%"), u"%SystemRoot%");
}

TEST(ExpandEnvVars, LineRules) {
  // The value comes from the first line whose name matches without regard
  // to case, whichever line found the reference.
  EXPECT_EQ(ExpandEnvVars({u"windir=C:\\W", u"WINDIR=D:\\X"}, u"%WINDIR%|%windir%"), u"C:\\W|C:\\W");
  // Lines are applied in order: a value inserted by one line can be
  // expanded by a later one, but not by an earlier one.
  EXPECT_EQ(ExpandEnvVars({u"A=%B%", u"B=2"}, u"%A%"), u"2");
  EXPECT_EQ(ExpandEnvVars({u"B=2", u"A=%B%"}, u"%A%"), u"%B%");
  // Lines without "=", with a blank name or starting with "=" do nothing.
  EXPECT_EQ(ExpandEnvVars({u"NOEQUALS", u" =v", u"=C:=C:\\x", u"\t=y"}, u"%% % %\\NOEQUALS"), u"%% % %\\NOEQUALS");
  // The value is everything after the first "=".
  EXPECT_EQ(ExpandEnvVars({u"E=", u"F=a=b"}, u"[%E%][%F%]"), u"[][a=b]");
  // A name with blanks inside is still a name.
  EXPECT_EQ(ExpandEnvVars({u"Program Files=C:\\PF"}, u"%Program Files%\\x"), u"C:\\PF\\x");
}

TEST(ExpandEnvVars, KeepsAtMost1024CharactersAfterAReplacement) {
  const TextList env{u"A=value"};
  const Text tail(2000, u't');
  EXPECT_EQ(ExpandEnvVars(env, u"head%A%" + tail), u"headvalue" + Text(1024, u't'));
  EXPECT_EQ(ExpandEnvVars(env, u"head\\A" + tail), u"headvalue" + Text(1024, u't'));
  EXPECT_EQ(ExpandEnvVars(env, u"%A%" + Text(1024, u'u')), u"value" + Text(1024, u'u'));
  // The part before the reference is not cut, and without a replacement
  // nothing is.
  EXPECT_EQ(ExpandEnvVars(env, tail + u"%A%"), tail + u"value");
  EXPECT_EQ(ExpandEnvVars(env, tail), tail);
}
