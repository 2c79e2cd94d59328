#include "ui/win32/message_boxes.h"

#include "platform/win32/wide_text.h"
#include "ui/logic/error_report_text.h"
#include "ui/logic/main_window_text.h"

namespace brannock::ui {

namespace {

HWND& MainWindow() {
  static HWND window = nullptr;
  return window;
}

MessageBoxHook& BoxHook() {
  static MessageBoxHook hook;
  return hook;
}

ErrorReportHook& ReportHook() {
  static ErrorReportHook hook;
  return hook;
}

void ShowBox(BoxKind kind, TextView text, TextView caption, bool restoreFirst) {
  const Text shownCaption = BoxCaption(kind, caption);
  if (restoreFirst && MainWindow() && IsIconic(MainWindow())) ShowWindow(MainWindow(), SW_RESTORE);
  if (BoxHook()) {
    BoxHook()(kind, Text(text), shownCaption);
    return;
  }
  const UINT icon = kind == BoxKind::Error ? MB_ICONERROR : MB_ICONINFORMATION;
  MessageBoxW(GetBoxOwnerWindow(), platform::ToWide(text).c_str(), platform::ToWide(shownCaption).c_str(),
              MB_OK | icon);
}

}  // namespace

void ShowErrorBox(TextView text, TextView caption, bool restoreFirst) {
  ShowBox(BoxKind::Error, text, caption, restoreFirst);
}

void ShowInfoBox(TextView text, TextView caption, bool restoreFirst) {
  ShowBox(BoxKind::Information, text, caption, restoreFirst);
}

HWND GetBoxOwnerWindow() {
  if (HWND active = GetActiveWindow()) return active;
  if (MainWindow() && IsWindow(MainWindow())) return MainWindow();
  return nullptr;
}

void SetMainWindow(HWND window) { MainWindow() = window; }
void SetMessageBoxHook(MessageBoxHook hook) { BoxHook() = std::move(hook); }
void SetErrorReportHook(ErrorReportHook hook) { ReportHook() = std::move(hook); }

void ReportError(const std::exception_ptr& error) {
  const std::optional<Text> text = ErrorReportText(error);
  if (!text) return;
  if (ReportHook()) {
    ReportHook()(*text);
    return;
  }
  MessageBoxW(GetBoxOwnerWindow(), platform::ToWide(*text).c_str(), platform::ToWide(kApplicationTitle).c_str(),
              MB_OK | MB_ICONERROR);
}

UserMessages& ProgramMessages() {
  static MessageFunctions messages(ShowErrorBox, ShowInfoBox, ReportError);
  return messages;
}

}  // namespace brannock::ui
