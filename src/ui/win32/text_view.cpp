#include "ui/win32/text_view.h"

#include <algorithm>

#include "ui/logic/viewer_status.h"

namespace brannock::ui {

namespace {

constexpr COLORREF kCaretLineColour = RGB(255, 255, 0);
constexpr COLORREF kGutterColour = RGB(228, 228, 228);
constexpr int kGutterPadding = 6;
constexpr int kTextMargin = 2;
// "Courier New" of 10 points and the gutter's "Terminal" of 8, at 96 dpi.
constexpr int kTextFontHeight = -13;
constexpr int kGutterFontHeight = -11;

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW;  // each window then takes TTextView::WindowProc
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wc.lpszClassName = kTextViewClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

TTextView* TTextView::Create(HWND parent, int id) {
  RegisterClassOnce();
  const HWND window = CreateWindowExW(WS_EX_CLIENTEDGE, kTextViewClass, L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 100, 100,
                                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  auto* view = new TTextView(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TTextView::WindowProc));
  return view;
}

TTextView* TTextView::FromWindow(HWND window) {
  wchar_t name[64] = {};
  if (!window || !GetClassNameW(window, name, 64) || lstrcmpW(name, kTextViewClass) != 0) return nullptr;
  return reinterpret_cast<TTextView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

TTextView::TTextView(HWND window) : window_(window) {
  const HDC dc = GetDC(window_);
  fonts_ = std::make_unique<TTextFonts>(dc, L"Courier New", kTextFontHeight);
  gutterFonts_ = std::make_unique<TTextFonts>(dc, L"Terminal", kGutterFontHeight);
  ReleaseDC(window_, dc);
  FitGutter();
}

TTextView::~TTextView() = default;

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
  return gutterWidth_ + kTextMargin - static_cast<int>(firstColumn_) * fonts_->CharWidth();
}

int64_t TTextView::VisibleLines() const {
  RECT rc;
  GetClientRect(window_, &rc);
  return std::max<int64_t>(1, (rc.bottom - rc.top) / LineHeight());
}

void TTextView::FitGutter() {
  const Text widest = GutterLineText(std::max<int64_t>(0, document_.LineCount() - 1));
  const int digits = std::max<int>(2, static_cast<int>(widest.size()));
  gutterWidth_ = digits * gutterFonts_->CharWidth() + 2 * kGutterPadding;
}

void TTextView::SetLines(TextList lines) {
  document_.SetLines(std::move(lines));
  document_.TakeFirstChangedLine();
  colouring_ = TTextColouring();
  colouring_.Prepare(document_);
  firstLine_ = firstColumn_ = 0;
  marked_.reset();
  FitGutter();
  UpdateScrollBars();
  PlaceCaret();
  InvalidateRect(window_, nullptr, FALSE);
}

void TTextView::SetFirstVisibleLine(int64_t line) {
  line = std::clamp<int64_t>(line, 0, std::max<int64_t>(0, document_.LineCount() - 1));
  if (line == firstLine_) return;
  firstLine_ = line;
  UpdateScrollBars();
  PlaceCaret();
  InvalidateRect(window_, nullptr, FALSE);
  if (OnStatusChange) OnStatusChange();
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
  SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  si.nMax = static_cast<int>(document_.LineCount() - 1);
  si.nPage = static_cast<UINT>(VisibleLines());
  si.nPos = static_cast<int>(firstLine_);
  SetScrollInfo(window_, SB_VERT, &si, TRUE);
  RECT rc;
  GetClientRect(window_, &rc);
  si.nMax = 1024;  // columns; long units have lines of several hundred
  si.nPage = static_cast<UINT>(std::max<LONG>(1, (rc.right - gutterWidth_) / fonts_->CharWidth()));
  si.nPos = static_cast<int>(firstColumn_);
  SetScrollInfo(window_, SB_HORZ, &si, TRUE);
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
  const int64_t columns = std::max<int64_t>(1, (rc.right - gutterWidth_ - kTextMargin) / fonts_->CharWidth());
  const int64_t column = DisplayColumnOf(document_.Line(caret.Line), caret.Column);
  if (column < firstColumn_) firstColumn_ = std::max<int64_t>(0, column - 4);
  if (column >= firstColumn_ + columns) firstColumn_ = column - columns + 4;
  firstLine_ = std::clamp<int64_t>(first, 0, std::max<int64_t>(0, document_.LineCount() - 1));
  UpdateScrollBars();
}

void TTextView::CaretMoved() {
  marked_.reset();
  EnsureCaretVisible();
  PlaceCaret();
  InvalidateRect(window_, nullptr, FALSE);
  if (OnStatusChange) OnStatusChange();
}

void TTextView::EditDone() {
  if (const auto changed = document_.TakeFirstChangedLine()) colouring_.Invalidate(*changed);
  FitGutter();
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
  InvalidateRect(window_, nullptr, FALSE);
  if (OnStatusChange) OnStatusChange();
}

void TTextView::ShowCaretLine(bool show) {
  if (show == caretLineShown_) return;
  caretLineShown_ = show;
  InvalidateRect(window_, nullptr, FALSE);
}

void TTextView::Paint() {
  PAINTSTRUCT ps;
  const HDC screen = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  const int width = std::max<LONG>(1, client.right);
  const int height = std::max<LONG>(1, client.bottom);
  // Drawn off screen, then copied, so that scrolling does not flicker.
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);

  const int lineHeight = LineHeight();
  const RECT all = {0, 0, width, height};
  const HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &all, white);
  DeleteObject(white);
  const RECT gutter = {0, 0, gutterWidth_, height};
  const HBRUSH grey = CreateSolidBrush(kGutterColour);
  FillRect(dc, &gutter, grey);
  DeleteObject(grey);

  const TTextRange selection = document_.Selection();
  const int64_t firstRow = std::max<LONG>(0, ps.rcPaint.top) / lineHeight;
  const int64_t lastRow = std::min<LONG>(height, ps.rcPaint.bottom + lineHeight - 1) / lineHeight;
  SetBkMode(dc, TRANSPARENT);
  for (int64_t row = firstRow; row <= lastRow; ++row) {
    const int64_t line = firstLine_ + row;
    if (line >= document_.LineCount()) break;
    const int top = static_cast<int>(row) * lineHeight;
    // Gutter number, right-aligned.
    const Text number = GutterLineText(line);
    const HGDIOBJ oldFont = SelectObject(dc, gutterFonts_->Normal());
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    RECT numberRect = {0, top, gutterWidth_ - kGutterPadding, top + lineHeight};
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(number.c_str()), static_cast<int>(number.size()), &numberRect,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    TLinePaint paint;
    paint.Left = TextLeft();
    paint.ClipLeft = gutterWidth_;
    paint.Right = width;
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
  BitBlt(screen, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
         ps.rcPaint.bottom - ps.rcPaint.top, dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EndPaint(window_, &ps);
}

}  // namespace brannock::ui
