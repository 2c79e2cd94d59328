// The geometry of TfrmMain on Win32: the fonts, the places of the controls
// and the status bar's panels, all at the window's dpi (the 96-dpi sizes of
// ui/logic/window_sizes.h scaled by window_dpi.h), and their change when
// the window moves to a monitor of another scale.
#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/window_sizes.h"
#include "ui/win32/font_quality.h"
#include "ui/win32/main_window.h"
#include "ui/win32/window_dpi.h"

namespace brannock::ui {

namespace {

using namespace main_size;
// Beside the sizes both front ends share, at 96 dpi: the splitter, the
// narrowest tree, the header's icon and fields, the buttons' height, and
// the status bar panels of the registry view and of the source.
constexpr int kSplitterWidth = 4;
constexpr int kMainMinTreeWidth = 30;
constexpr int kIconSize = 32;
constexpr int kFieldHeight = 16;
constexpr int kMainButtonHeight = 25;
constexpr int kButtonGap = 4;
constexpr int kViewPanelWidth = 140;
constexpr int kSourcePanelWidth = 220;  // while the comparison's panel follows
constexpr int kMainFontPoints = 8;  // Tahoma 8
// The room a caption keeps on each side when it widens its control.
constexpr int kCaptionMargin = 5;

std::wstring CaptionOf(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

// Also when the system's font smoothing changes: the fonts name its
// quality (font_quality.h), so they are made anew.
void TfrmMain::SetFonts() {
  const int height = FontHeight(kMainFontPoints, dpi_);
  const BYTE quality = SystemFontQuality();
  auto tahoma = [&](int weight) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, L"Tahoma");
  };
  HFONT const oldFont = font_, oldBold = boldFont_;
  font_ = tahoma(FW_NORMAL);
  boldFont_ = tahoma(FW_BOLD);
  const BOOL redraw = oldFont != nullptr;
  for (HWND control : {Tree, eGUID, pc, RegTree, Memo, bView, bCopy, bReg, bUnreg, sb, SecurityText, RefList, RefNotes})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
  SendMessageW(eName, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), redraw);
  if (oldFont) DeleteObject(oldFont);
  if (oldBold) DeleteObject(oldBold);
  // The buttons of a kind share a width, and the status texts their
  // panel: the design's, unless a caption needs more in this font.
  const int margins = 2 * Scaled(kCaptionMargin, dpi_);
  const auto widest = [&](std::initializer_list<std::wstring_view> texts) {
    return WidestText(window_, font_, texts) + margins;
  };
  const std::wstring view = CaptionOf(bView), copy = CaptionOf(bCopy), reg = CaptionOf(bReg), unreg = CaptionOf(bUnreg);
  wideButton_ = std::max(Scaled(kWideButtonWidth, dpi_), widest({view, copy}));
  narrowButton_ = std::max(Scaled(kButtonWidth, dpi_), widest({reg, unreg}));
  const std::wstring ready = platform::ToWide(kReadyText), working = platform::ToWide(kWorkingText);
  statusPanel_ = std::max(Scaled(kStatusPanelWidth, dpi_), widest({ready, working}));
  SetStatusPanels({statusWidths_.begin() + std::min<size_t>(1, statusWidths_.size()), statusWidths_.end()});
}

int TfrmMain::ShownTreeWidth(int wanted, int clientWidth) const {
  const int least = Scaled(kMainMinTreeWidth, dpi_);
  return std::clamp(wanted, least, std::max(least, clientWidth - Scaled(kSplitterWidth, dpi_) - least));
}

void TfrmMain::DpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0 || dpi == dpi_) return;
  // The tree keeps its share of the window: its width is in the pixels of
  // the old dpi.
  treeWidth_ = MulDiv(treeWidth_, static_cast<int>(dpi), static_cast<int>(dpi_));
  dpi_ = dpi;
  SetFonts();
  MoveToSuggested(window_, suggested);
  Layout();
}

void TfrmMain::Layout() {
  // The sizes of the design at this window's dpi.
  const auto S = [this](int length) { return Scaled(length, dpi_); };
  RECT client;
  GetClientRect(window_, &client);
  SendMessageW(sb, WM_SIZE, 0, 0);
  RECT status;
  GetWindowRect(sb, &status);
  const int width = client.right;
  const int height = std::max(0, static_cast<int>(client.bottom - (status.bottom - status.top)));
  // A window too narrow for the tree shows less of it; the width kept is
  // the user's, and comes back when the window is wide enough again.
  const int treeWidth = ShownTreeWidth(treeWidth_, width);

  HDWP batch = BeginDeferWindowPos(12);
  auto place = [&](HWND w, int x, int y, int cx, int cy) {
    batch = DeferWindowPos(batch, w, nullptr, x, y, std::max(cx, 0), std::max(cy, 0), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int splitter = S(kSplitterWidth), border = S(kPaneBorder), header = S(kHeaderHeight);
  place(Tree, 0, 0, treeWidth, height);
  place(Splitter, treeWidth, 0, splitter, height);
  const int px = treeWidth + splitter + border, py = border;
  const int pw = width - px - border, ph = height - 2 * border;
  // The icon at the left of the header, the two fields beside it, one
  // above the other.
  const int icon = S(kIconSize), field = S(kFieldHeight), fieldsLeft = icon + S(8);
  const int fieldsTop = (header - 2 * field - S(2)) / 2;
  place(imgDefaultIcon, px, py + (header - icon) / 2, icon, icon);
  place(eName, px + fieldsLeft, py + fieldsTop, pw - fieldsLeft, field);
  place(eGUID, px + fieldsLeft, py + fieldsTop + field + S(2), pw - fieldsLeft, field);
  place(pc, px, py + header, pw, ph - header);
  EndDeferWindowPos(batch);

  RECT page{0, 0, pw, ph - header};
  TabCtrl_AdjustRect(pc, FALSE, &page);
  const int inset = S(2);
  const int ax = px + page.left + inset, ay = py + header + page.top + inset;
  const int aw = page.right - page.left - 2 * inset, ah = page.bottom - page.top - 2 * inset;
  const int memo = S(kMemoHeight), row = S(kButtonRowHeight), gap = S(kButtonGap);
  const int wide = wideButton_, narrow = narrowButton_, button = S(kMainButtonHeight);
  batch = BeginDeferWindowPos(9);
  place(SecurityText, ax, ay, aw, ah);
  place(RefList, ax, ay, aw, ah - memo - gap);
  place(RefNotes, ax, ay + ah - memo, aw, memo);
  place(RegTree, ax, ay, aw, ah - memo - row - gap);
  place(Memo, ax, ay + ah - memo - row, aw, memo);
  const int by = ay + ah - row + (row - button) / 2;
  place(bView, ax, by, wide, button);
  place(bCopy, ax + wide + gap, by, wide, button);
  place(bReg, ax + aw - 2 * narrow - gap, by, narrow, button);
  place(bUnreg, ax + aw - narrow, by, narrow, button);
  EndDeferWindowPos(batch);
}

void TfrmMain::SetStatusPanels(const std::vector<int>& extraWidths) {
  statusWidths_ = {kStatusPanelWidth};
  statusWidths_.insert(statusWidths_.end(), extraWidths.begin(), extraWidths.end());
  std::vector<int> rightEdges;
  int edge = 0;
  for (size_t i = 0; i < statusWidths_.size(); ++i) {
    edge += i == 0 ? std::max(statusPanel_, Scaled(kStatusPanelWidth, dpi_)) : Scaled(statusWidths_[i], dpi_);
    rightEdges.push_back(i + 1 == statusWidths_.size() && i > 0 ? -1 : edge);
  }
  SendMessageW(sb, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
}

void TfrmMain::LayOutStatusPanels() {
  const Comparison* comparison = CurrentComparison();
  // The view's panel, then the registry's, which takes the rest unless the
  // comparison's follows it.
  std::vector<int> panels;
  if (options_.view) panels.push_back(kViewPanelWidth);
  if (!options_.sourceText.empty()) panels.push_back(comparison ? kSourcePanelWidth : kStatusPanelWidth);
  if (comparison) panels.push_back(kStatusPanelWidth);
  SetStatusPanels(panels);
  if (!options_.sourceText.empty()) SetStatusPanelText(options_.view ? 2 : 1, options_.sourceText);
  if (comparison) SetStatusPanelText(static_cast<int>(panels.size()), ComparisonStatusText(*comparison));
}

}  // namespace brannock::ui
