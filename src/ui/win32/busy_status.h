// The Win32 side of the busy state whose order ui/logic/busy_scope.h
// defines: the hourglass, a status bar panel's text and an immediate
// repaint, the last two given by the window. A display made without them
// changes the cursor only.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/logic/busy_scope.h"

namespace brannock::ui {

class Win32BusyDisplay : public BusyDisplay {
 public:
  Win32BusyDisplay() = default;
  Win32BusyDisplay(std::function<void(TextView)> setStatus, std::function<void()> repaint)
      : setStatus_(std::move(setStatus)), repaint_(std::move(repaint)) {}
  void SetWaitCursor(bool wait) override;
  void SetStatusText(TextView text) override {
    if (setStatus_) setStatus_(text);
  }
  void Repaint() override {
    if (repaint_) repaint_();
  }

 private:
  std::function<void(TextView)> setStatus_;
  std::function<void()> repaint_;
  HCURSOR previous_ = nullptr;
};

}  // namespace brannock::ui
