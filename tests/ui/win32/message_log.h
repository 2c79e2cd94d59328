// The messages that enabling and destroying windows send, logged in the
// order they are sent to the windows of this thread (a WH_CALLWNDPROC hook
// while the log lives).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace brannock::ui::testing {

class MessageLog {
 public:
  struct Entry {
    HWND window;
    UINT message;
    WPARAM wParam;
  };
  MessageLog() {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
  }
  ~MessageLog() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  // Where the first entry of that window and message is (and wParam, when
  // given); none when there is none.
  std::optional<size_t> First(HWND window, UINT message, std::optional<WPARAM> wParam = {}) const {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].window == window && entries_[i].message == message && (!wParam || entries_[i].wParam == *wParam))
        return i;
    return std::nullopt;
  }
  // The first entry of `message` sent to a window of `windowClass`.
  std::optional<size_t> FirstOfClass(const wchar_t* windowClass, UINT message) const {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].message == message && classes_[i] == windowClass) return i;
    return std::nullopt;
  }

 private:
  static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && current_ && (sent->message == WM_ENABLE || sent->message == WM_DESTROY)) {
      current_->entries_.push_back({sent->hwnd, sent->message, sent->wParam});
      wchar_t name[64] = {};
      GetClassNameW(sent->hwnd, name, 64);
      current_->classes_.emplace_back(name);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline MessageLog* current_ = nullptr;
  HHOOK hook_;
  std::vector<Entry> entries_;
  std::vector<std::wstring> classes_;
};

}  // namespace brannock::ui::testing
