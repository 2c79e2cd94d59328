// A batch update of a tree view: no repaint until it ends, also on failure.
#pragma once

#include <windows.h>

namespace brannock::ui {

class TreeBatchUpdate {
 public:
  explicit TreeBatchUpdate(HWND tree) : tree_(tree) { SendMessageW(tree_, WM_SETREDRAW, FALSE, 0); }
  ~TreeBatchUpdate() {
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
  }
  TreeBatchUpdate(const TreeBatchUpdate&) = delete;
  TreeBatchUpdate& operator=(const TreeBatchUpdate&) = delete;

 private:
  HWND tree_;
};

}  // namespace brannock::ui
