// The detail pane of one object as plain lines, the form in which the Linux
// build (reading a Wine prefix's files) and the Windows window (reading the
// live registry under Wine) are compared:
//   object <kind> <GUID>        kind 0..3 as TObjectType
//   name <eName>
//   guid <eGUID>
//   states <register> <create instance> <view>   each 0 or 1
//   hex <0|1>
//   line <level> <text>         once per registry tree line, in tree order
//   error <message>             when building the tree stopped with an error
//   end
// Texts are UTF-8 with backslash, carriage return and line feed written as
// \\, \r and \n.
#pragma once

#include <string>
#include <vector>

#include "common/text.h"

namespace brannock::testing {

struct PaneLine {
  int level = 0;
  Text text;
  bool operator==(const PaneLine&) const = default;
};

struct PaneRecord {
  int kind = 0;
  Text guid;
  Text name;
  Text shownGuid;
  bool registerServer = false, createInstance = false, viewTypeLib = false;
  bool hex = true;
  std::vector<PaneLine> lines;
  Text error;
};

std::string EscapeLine(TextView text);
Text UnescapeLine(const std::string& text);

std::string FormatPaneRecord(const PaneRecord& record);
// Every record of a file's text; an unreadable line fails the parse.
bool ParsePaneRecords(const std::string& text, std::vector<PaneRecord>* records);

}  // namespace brannock::testing
