#include "ui/win32/text_view.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "ui/logic/viewer_status.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_dpi.h"

namespace brannock::ui {

namespace {

constexpr COLORREF kCaretLineColour = RGB(255, 255, 0);
constexpr COLORREF kGutterColour = RGB(228, 228, 228);
// At 96 dpi (scaled to the window's, window_dpi.h): the gutter's and the
// text's margins, "Courier New" of 10 points and the gutter's "Terminal"
// of 8.
constexpr int kGutterPadding = 6;
constexpr int kTextMargin = 2;
constexpr int kTextFontHeight = -13;
constexpr int kGutterFontHeight = -11;

}  // namespace

TTextView* TTextView::Create(HWND parent, int id, UINT dpi) {
  // Each window then takes TTextView::WindowProc.
  RegisterWindowClass({.name = kTextViewClass, .cursor = IDC_IBEAM, .style = CS_DBLCLKS});
  const HWND window = CreateWindowExW(WS_EX_CLIENTEDGE, kTextViewClass, L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 100, 100,
                                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  auto* view = new TTextView(window, dpi);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TTextView::WindowProc));
  return view;
}

TTextView* TTextView::FromWindow(HWND window) {
  wchar_t name[64] = {};
  if (!window || !GetClassNameW(window, name, 64) || lstrcmpW(name, kTextViewClass) != 0) return nullptr;
  return reinterpret_cast<TTextView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

TTextView::TTextView(HWND window, UINT dpi) : window_(window), dpi_(dpi) { MakeFonts(); }

void TTextView::MakeFonts() {
  const HDC dc = GetDC(window_);
  fonts_ = std::make_unique<TTextFonts>(dc, L"Courier New", Scaled(kTextFontHeight, dpi_));
  gutterFonts_ = std::make_unique<TTextFonts>(dc, L"Terminal", Scaled(kGutterFontHeight, dpi_));
  ReleaseDC(window_, dc);
  FitGutter();
}

void TTextView::SetDpi(UINT dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  MakeFonts();
  if (hasFocus_) {
    DestroyCaret();
    CreateCaret(window_, nullptr, Scaled(2, dpi_), LineHeight());
    ShowCaret(window_);
  }
  UpdateScrollBars();
  PlaceCaret();
  InvalidateRect(window_, nullptr, FALSE);
}

TTextView::~TTextView() {
  if (!backDc_) return;
  SelectObject(backDc_, backOld_);
  DeleteObject(backBitmap_);
  DeleteDC(backDc_);
}

LRESULT CALLBACK TTextView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<TTextView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete view;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return view->Handle(message, wParam, lParam);
}

int TTextView::LineHeight() const { return fonts_->LineHeight(); }

int TTextView::TextLeft() const {
  return gutterWidth_ + Scaled(kTextMargin, dpi_) - static_cast<int>(firstColumn_) * fonts_->CharWidth();
}

int64_t TTextView::VisibleLines() const {
  RECT rc;
  GetClientRect(window_, &rc);
  return std::max<int64_t>(1, (rc.bottom - rc.top) / LineHeight());
}

void TTextView::FitGutter() {
  const Text widest = GutterLineText(std::max<int64_t>(0, document_.LineCount() - 1));
  const int digits = std::max<int>(2, static_cast<int>(widest.size()));
  gutterWidth_ = digits * gutterFonts_->CharWidth() + 2 * Scaled(kGutterPadding, dpi_);
}

void TTextView::SetLanguage(TUnitLanguage language) {
  if (language == colouring_.Language()) return;
  colouring_.SetLanguage(language);  // the lines are coloured anew as they are painted
  InvalidateRect(window_, nullptr, FALSE);
}

void TTextView::SetLines(TextList lines) {
  document_.SetLines(std::move(lines));
  document_.TakeFirstChangedLine();
  colouring_.Invalidate(0);
  colouring_.Prepare(document_);
  firstLine_ = firstColumn_ = 0;
  marked_.reset();
  shownFrom_ = 0;
  shownTo_ = -1;
  FitGutter();
  UpdateScrollBars();
  PlaceCaret();
  InvalidateRect(window_, nullptr, FALSE);
}

void TTextView::SetFirstVisibleLine(int64_t line) {
  line = std::clamp<int64_t>(line, 0, std::max<int64_t>(0, document_.LineCount() - 1));
  if (line == firstLine_) return;
  ScrollToLine(line);
  UpdateScrollBars();
  PlaceCaret();
  NotifyStatus();
}

void TTextView::ScrollToLine(int64_t line) {
  const int64_t delta = line - firstLine_;
  if (delta == 0) return;
  firstLine_ = line;
  if (std::abs(delta) > VisibleLines()) {
    InvalidateRect(window_, nullptr, FALSE);
    return;
  }
  // The window moves what stays in view, and what is waiting to be
  // painted with it; only the uncovered lines are painted.
  ScrollWindowEx(window_, 0, static_cast<int>(-delta * LineHeight()), nullptr, nullptr, nullptr, nullptr,
                 SW_INVALIDATE);
}

void TTextView::InvalidateLines(int64_t from, int64_t to) {
  from = std::max(from, firstLine_);
  to = std::min(to, firstLine_ + VisibleLines());
  if (from > to) return;
  const RECT rows = {0, static_cast<LONG>((from - firstLine_) * LineHeight()), 32767,
                     static_cast<LONG>((to - firstLine_ + 1) * LineHeight())};
  InvalidateRect(window_, &rows, FALSE);
}

void TTextView::RefreshCaretLines() {
  InvalidateLines(shownFrom_, shownTo_);
  const TTextRange selection = document_.Selection();
  shownFrom_ = std::min(selection.Start.Line, document_.Caret().Line);
  shownTo_ = std::max(selection.End.Line, document_.Caret().Line);
  if (marked_) {
    shownFrom_ = std::min(shownFrom_, marked_->Start.Line);
    shownTo_ = std::max(shownTo_, marked_->End.Line);
  }
  InvalidateLines(shownFrom_, shownTo_);
}

POINT TTextView::PointOf(TTextPos pos) const {
  pos = document_.Clamp(pos);
  const int64_t column = DisplayColumnOf(document_.Line(pos.Line), pos.Column);
  return {TextLeft() + static_cast<int>(column) * fonts_->CharWidth(),
          static_cast<int>(pos.Line - firstLine_) * LineHeight()};
}

TTextPos TTextView::PosAt(POINT point) const {
  const int64_t row = point.y >= 0 ? point.y / LineHeight() : -1 - (-point.y - 1) / LineHeight();
  const int64_t line = std::clamp<int64_t>(firstLine_ + row, 0, document_.LineCount() - 1);
  const int64_t column = std::max<int64_t>(0, (point.x - TextLeft() + fonts_->CharWidth() / 2) / fonts_->CharWidth());
  return {line, IndexOfDisplayColumn(document_.Line(line), column)};
}

void TTextView::UpdateScrollBars() {
  RECT rc;
  GetClientRect(window_, &rc);
  wantedBars_[SB_VERT] = {static_cast<int>(document_.LineCount() - 1), static_cast<int>(VisibleLines()),
                          static_cast<int>(firstLine_)};
  // Columns: long units have lines of several hundred.
  wantedBars_[SB_HORZ] = {1024, static_cast<int>(std::max<LONG>(1, (rc.right - gutterWidth_) / fonts_->CharWidth())),
                          static_cast<int>(firstColumn_)};
  if (wantedBars_[SB_VERT] == shownBars_[SB_VERT] && wantedBars_[SB_HORZ] == shownBars_[SB_HORZ]) return;
  // A paint must come even when no line changed: one pixel of the gutter.
  const RECT corner = {0, 0, 1, 1};
  InvalidateRect(window_, &corner, FALSE);
}

void TTextView::ShowScrollBars() {
  for (const int bar : {SB_VERT, SB_HORZ}) {
    if (wantedBars_[bar] == shownBars_[bar]) continue;
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    si.nMax = wantedBars_[bar].Max;
    si.nPage = static_cast<UINT>(std::max(0, wantedBars_[bar].Page));
    si.nPos = wantedBars_[bar].Pos;
    SetScrollInfo(window_, bar, &si, TRUE);
    shownBars_[bar] = wantedBars_[bar];
  }
}

void TTextView::NotifyStatus() {
  if (updating_ > 0) {
    statusChanged_ = true;
    return;
  }
  if (OnStatusChange) OnStatusChange();
}

void TTextView::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && std::exchange(statusChanged_, false)) NotifyStatus();
}

void TTextView::PlaceCaret() {
  if (!hasFocus_) return;
  const POINT p = PointOf(document_.Caret());
  SetCaretPos(std::max<LONG>(p.x, gutterWidth_), p.y);
}

void TTextView::EnsureCaretVisible() {
  const TTextPos caret = document_.Caret();
  const int64_t visible = VisibleLines();
  int64_t first = firstLine_;
  if (caret.Line < first) first = caret.Line;
  if (caret.Line >= first + visible) first = caret.Line - visible + 1;
  RECT rc;
  GetClientRect(window_, &rc);
  const int64_t columns =
      std::max<int64_t>(1, (rc.right - gutterWidth_ - Scaled(kTextMargin, dpi_)) / fonts_->CharWidth());
  const int64_t column = DisplayColumnOf(document_.Line(caret.Line), caret.Column);
  const int64_t oldColumn = firstColumn_;
  if (column < firstColumn_) firstColumn_ = std::max<int64_t>(0, column - 4);
  if (column >= firstColumn_ + columns) firstColumn_ = column - columns + 4;
  if (firstColumn_ != oldColumn) InvalidateRect(window_, nullptr, FALSE);
  ScrollToLine(std::clamp<int64_t>(first, 0, std::max<int64_t>(0, document_.LineCount() - 1)));
  UpdateScrollBars();
}

void TTextView::CaretMoved() {
  marked_.reset();
  EnsureCaretVisible();
  PlaceCaret();
  RefreshCaretLines();
  NotifyStatus();
}

void TTextView::EditDone() {
  if (const auto changed = document_.TakeFirstChangedLine()) colouring_.Invalidate(*changed);
  FitGutter();
  // An edit can change the colours of every line below it and the gutter.
  InvalidateRect(window_, nullptr, FALSE);
  CaretMoved();
}

void TTextView::SelectRange(TTextPos anchor, TTextPos caret) {
  document_.Select(anchor, caret);
  // The whole match in view, from its start.
  document_.SetCaret(anchor, false);
  EnsureCaretVisible();
  document_.Select(anchor, caret);
  CaretMoved();
}

void TTextView::SelectApartFromCaret(TTextRange marked, TTextPos caret) {
  document_.SetCaret(caret, false);
  PlaceCaret();
  marked_ = marked.Start < marked.End ? std::optional<TTextRange>(marked) : std::nullopt;
  RefreshCaretLines();
  NotifyStatus();
}

void TTextView::ShowCaretLine(bool show) {
  if (show == caretLineShown_) return;
  caretLineShown_ = show;
  RefreshCaretLines();
}

HDC TTextView::BackBuffer(HDC screen, int width, int height) {
  if (backDc_ && backSize_.cx >= width && backSize_.cy >= height) return backDc_;
  if (backDc_) {
    SelectObject(backDc_, backOld_);
    DeleteObject(backBitmap_);
    DeleteDC(backDc_);
  }
  backDc_ = CreateCompatibleDC(screen);
  backBitmap_ = CreateCompatibleBitmap(screen, width, height);
  backOld_ = SelectObject(backDc_, backBitmap_);
  backSize_ = {width, height};
  return backDc_;
}

void TTextView::Paint() {
  PAINTSTRUCT ps;
  const HDC screen = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  const int width = std::max<LONG>(1, client.right);
  const int height = std::max<LONG>(1, client.bottom);
  // Drawn off screen, then copied, so that nothing flickers; only the lines
  // of the region to paint are drawn.
  const HDC dc = BackBuffer(screen, width, height);
  const RECT area = ps.rcPaint;
  FillSolid(dc, {std::max<LONG>(area.left, gutterWidth_), area.top, area.right, area.bottom}, RGB(255, 255, 255));
  FillSolid(dc, {area.left, area.top, std::min<LONG>(area.right, gutterWidth_), area.bottom}, kGutterColour);

  const int lineHeight = LineHeight();
  const TTextRange selection = document_.Selection();
  const int64_t firstRow = std::max<LONG>(0, area.top) / lineHeight;
  const int64_t lastRow = std::min<LONG>(height, area.bottom + lineHeight - 1) / lineHeight;
  // The gutter's font stays selected; each line's painter puts back what
  // it selects.
  const HGDIOBJ oldFont = SelectObject(dc, gutterFonts_->Normal());
  SetBkMode(dc, TRANSPARENT);
  for (int64_t row = firstRow; row <= lastRow; ++row) {
    const int64_t line = firstLine_ + row;
    if (line >= document_.LineCount()) break;
    const int top = static_cast<int>(row) * lineHeight;
    if (area.left < gutterWidth_) {
      // Gutter number, right-aligned, centred in the line's height.
      const Text number = GutterLineText(line);
      SetTextColor(dc, RGB(0, 0, 0));
      const UINT align = SetTextAlign(dc, TA_RIGHT | TA_TOP);
      ExtTextOutW(dc, gutterWidth_ - Scaled(kGutterPadding, dpi_), top + (lineHeight - gutterFonts_->LineHeight()) / 2,
                  0, nullptr, reinterpret_cast<const wchar_t*>(number.c_str()), static_cast<UINT>(number.size()), nullptr);
      SetTextAlign(dc, align);
    }
    if (area.right <= gutterWidth_) continue;
    TLinePaint paint;
    paint.Left = TextLeft();
    paint.ClipLeft = std::max<int>(gutterWidth_, area.left);
    paint.Right = std::min<int>(width, area.right);
    paint.Top = top;
    paint.Background = caretLineShown_ && line == document_.Caret().Line ? kCaretLineColour : RGB(255, 255, 255);
    const auto selectIn = [&](const TTextRange& range) {
      if (line < range.Start.Line || line > range.End.Line || range.Start == range.End) return;
      paint.SelectionStart = line == range.Start.Line ? range.Start.Column : 0;
      paint.SelectionEnd = line == range.End.Line ? range.End.Column : static_cast<int64_t>(document_.Line(line).size());
      paint.SelectionToEnd = line < range.End.Line;
    };
    selectIn(selection);
    if (marked_) selectIn(*marked_);
    PaintTextLine(dc, *fonts_, document_.Line(line), colouring_.RunsOf(document_, line), paint);
  }
  SelectObject(dc, oldFont);
  BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left, area.top,
         SRCCOPY);
  EndPaint(window_, &ps);
  // The scroll bars after the lines, which the user waits for.
  ShowScrollBars();
}

}  // namespace brannock::ui
