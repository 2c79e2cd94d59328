#include "ui/logic/error_report_text.h"

#include "common/error.h"

namespace brannock::ui {

Text WithFullStop(Text message) {
  if (!message.empty() && message.back() > u'.') message.push_back(u'.');
  return message;
}

namespace {

// Walks the chain from the outermost error inwards; the last message found
// is the innermost one.
void InnermostMessage(const std::exception_ptr& error, Text& message, bool& silent, int depth) {
  if (!error || depth > 64) return;
  try {
    std::rethrow_exception(error);
  } catch (const SilentAbort&) {
    silent = true;
  } catch (const Error& e) {
    if (!e.Message().empty()) message = e.Message();
    if (auto* nested = dynamic_cast<const std::nested_exception*>(&e)) InnermostMessage(nested->nested_ptr(), message, silent, depth + 1);
  } catch (const std::exception& e) {
    const Text m = Utf8ToUtf16(e.what());
    if (!m.empty()) message = m;
    if (auto* nested = dynamic_cast<const std::nested_exception*>(&e)) InnermostMessage(nested->nested_ptr(), message, silent, depth + 1);
  } catch (...) {
    // An error of a type nobody knows still gets a text, never an empty box.
    if (message.empty()) message = u"Unknown error";
  }
}

}  // namespace

std::optional<Text> ErrorReportText(const std::exception_ptr& error) {
  Text message;
  bool silent = false;
  InnermostMessage(error, message, silent, 0);
  if (silent) return std::nullopt;
  return WithFullStop(std::move(message));
}

}  // namespace brannock::ui
