#include "ui/logic/viewer_status.h"

namespace brannock::ui {

Text CaretStatusText(int64_t line, int64_t column, int64_t lineCount) {
  return u"Line: " + IntToText(line) + u"   Col: " + IntToText(column) + u"   Lines: " + IntToText(lineCount);
}

Text GutterLineText(int64_t zeroBasedLine) { return IntToText(zeroBasedLine); }

Text PrintJobTitle(TextView applicationTitle, TextView unitName) {
  return Text(applicationTitle) + u" - [" + Text(unitName) + u"]";
}

}  // namespace brannock::ui
