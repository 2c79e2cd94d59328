#include "ui/logic/text_document.h"

#include <algorithm>
#include <utility>

namespace brannock::ui {

namespace {

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

// The upper-case partner of a folded character (FoldCase's inverse).
char16_t UpperOf(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return c;
}

}  // namespace

bool IsWordCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

TTextDocument::TTextDocument() : lines_(1) {}

void TTextDocument::SetLines(TextList lines) {
  lines_ = std::move(lines);
  if (lines_.empty()) lines_.emplace_back();
  caret_ = anchor_ = {};
  preferredColumn_ = -1;
  undo_.clear();
  lastWasTyping_ = false;
  Changed(0);
}

void TTextDocument::Changed(int64_t line) {
  firstChanged_ = std::min(firstChanged_.value_or(line), line);
  startsValid_ = std::min(startsValid_, static_cast<size_t>(std::max<int64_t>(0, line)));
}

std::optional<int64_t> TTextDocument::TakeFirstChangedLine() { return std::exchange(firstChanged_, std::nullopt); }

const std::vector<int64_t>& TTextDocument::LineStarts() const {
  starts_.resize(lines_.size() + 1);
  if (startsValid_ == 0) {
    starts_[0] = 0;
    startsValid_ = 1;
  }
  for (size_t i = startsValid_; i <= lines_.size(); ++i)
    starts_[i] = starts_[i - 1] + static_cast<int64_t>(lines_[i - 1].size()) + 2;
  startsValid_ = lines_.size() + 1;
  return starts_;
}

Text TTextDocument::WholeText() const {
  Text text;
  text.reserve(static_cast<size_t>(TextLength()));
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += lines_[i];
  }
  return text;
}

int64_t TTextDocument::TextLength() const { return LineStarts().back() - 2; }

int64_t TTextDocument::Offset(TTextPos pos) const {
  pos = Clamp(pos);
  return LineStarts()[static_cast<size_t>(pos.Line)] + pos.Column;
}

TTextPos TTextDocument::PosOfOffset(int64_t offset) const {
  const std::vector<int64_t>& starts = LineStarts();
  offset = std::clamp<int64_t>(offset, 0, TextLength());
  const auto next = std::upper_bound(starts.begin(), starts.end() - 1, offset);
  const int64_t line = (next - starts.begin()) - 1;
  return Clamp({line, offset - starts[static_cast<size_t>(line)]});
}

TTextPos TTextDocument::Clamp(TTextPos pos) const {
  pos.Line = std::clamp<int64_t>(pos.Line, 0, LineCount() - 1);
  pos.Column = std::clamp<int64_t>(pos.Column, 0, static_cast<int64_t>(Line(pos.Line).size()));
  return pos;
}

TTextRange TTextDocument::Selection() const { return {std::min(caret_, anchor_), std::max(caret_, anchor_)}; }

Text TTextDocument::TextOf(TTextPos from, TTextPos to) const {
  if (from.Line == to.Line) return Line(from.Line).substr(static_cast<size_t>(from.Column), static_cast<size_t>(to.Column - from.Column));
  Text text = Line(from.Line).substr(static_cast<size_t>(from.Column));
  for (int64_t line = from.Line + 1; line < to.Line; ++line) text += u"\r\n" + Line(line);
  text += u"\r\n" + Line(to.Line).substr(0, static_cast<size_t>(to.Column));
  return text;
}

Text TTextDocument::SelectedText() const {
  const TTextRange range = Selection();
  return TextOf(range.Start, range.End);
}

void TTextDocument::Select(TTextPos anchor, TTextPos caret) {
  anchor_ = Clamp(anchor);
  caret_ = Clamp(caret);
  preferredColumn_ = -1;
  lastWasTyping_ = false;
}

void TTextDocument::SetCaret(TTextPos pos, bool extend) { Select(extend ? anchor_ : pos, pos); }

void TTextDocument::SelectAll() { Select({}, {LineCount() - 1, static_cast<int64_t>(lines_.back().size())}); }

int64_t TTextDocument::DisplayColumn(TTextPos pos, int tabWidth) const {
  pos = Clamp(pos);
  const Text& line = Line(pos.Line);
  int64_t column = 0;
  for (int64_t i = 0; i < pos.Column; ++i)
    column = line[static_cast<size_t>(i)] == u'\t' ? (column / tabWidth + 1) * tabWidth : column + 1;
  return column;
}

void TTextDocument::Move(TCaretMove move, bool extend, int64_t pageLines) {
  TTextPos pos = caret_;
  const int64_t preferred = preferredColumn_ >= 0 ? preferredColumn_ : caret_.Column;
  bool vertical = false;
  const auto lineLength = [this](int64_t line) { return static_cast<int64_t>(Line(line).size()); };
  const auto charAt = [this](TTextPos p) { return Line(p.Line)[static_cast<size_t>(p.Column)]; };
  switch (move) {
    case TCaretMove::Left:
      if (!extend && HasSelection()) pos = Selection().Start;
      else if (pos.Column > 0) --pos.Column;
      else if (pos.Line > 0) pos = {pos.Line - 1, lineLength(pos.Line - 1)};
      break;
    case TCaretMove::Right:
      if (!extend && HasSelection()) pos = Selection().End;
      else if (pos.Column < lineLength(pos.Line)) ++pos.Column;
      else if (pos.Line + 1 < LineCount()) pos = {pos.Line + 1, 0};
      break;
    case TCaretMove::WordLeft:
      if (pos.Column == 0) {
        if (pos.Line > 0) pos = {pos.Line - 1, lineLength(pos.Line - 1)};
        break;
      }
      while (pos.Column > 0 && !IsWordCharacter(Line(pos.Line)[static_cast<size_t>(pos.Column - 1)])) --pos.Column;
      while (pos.Column > 0 && IsWordCharacter(Line(pos.Line)[static_cast<size_t>(pos.Column - 1)])) --pos.Column;
      break;
    case TCaretMove::WordRight:
      if (pos.Column == lineLength(pos.Line)) {
        if (pos.Line + 1 < LineCount()) pos = {pos.Line + 1, 0};
        break;
      }
      while (pos.Column < lineLength(pos.Line) && IsWordCharacter(charAt(pos))) ++pos.Column;
      while (pos.Column < lineLength(pos.Line) && !IsWordCharacter(charAt(pos))) ++pos.Column;
      break;
    case TCaretMove::Up:
    case TCaretMove::Down:
    case TCaretMove::PageUp:
    case TCaretMove::PageDown: {
      const int64_t step = (move == TCaretMove::Up || move == TCaretMove::Down) ? 1 : std::max<int64_t>(1, pageLines);
      const bool up = move == TCaretMove::Up || move == TCaretMove::PageUp;
      pos.Line = std::clamp<int64_t>(pos.Line + (up ? -step : step), 0, LineCount() - 1);
      pos.Column = std::min(preferred, lineLength(pos.Line));
      vertical = true;
      break;
    }
    case TCaretMove::LineStart:
      pos.Column = 0;
      break;
    case TCaretMove::LineEnd:
      pos.Column = lineLength(pos.Line);
      break;
    case TCaretMove::TextStart:
      pos = {};
      break;
    case TCaretMove::TextEnd:
      pos = {LineCount() - 1, lineLength(LineCount() - 1)};
      break;
  }
  SetCaret(pos, extend);
  if (vertical) preferredColumn_ = preferred;
}

TTextPos TTextDocument::Replace(TTextPos from, TTextPos to, TextView text) {
  Changed(from.Line);
  const Text tail = Line(to.Line).substr(static_cast<size_t>(to.Column));
  Text& first = lines_[static_cast<size_t>(from.Line)];
  first.resize(static_cast<size_t>(from.Column));
  lines_.erase(lines_.begin() + from.Line + 1, lines_.begin() + to.Line + 1);
  TextList added;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != u'\r' && text[i] != u'\n') continue;
    added.emplace_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  first += added.front();
  TTextPos end{from.Line, static_cast<int64_t>(first.size())};
  if (added.size() > 1) {
    lines_.insert(lines_.begin() + from.Line + 1, added.begin() + 1, added.end());
    end = {from.Line + static_cast<int64_t>(added.size()) - 1, static_cast<int64_t>(added.back().size())};
  }
  lines_[static_cast<size_t>(end.Line)] += tail;
  return end;
}

void TTextDocument::Record(Edit edit, bool typing) {
  if (typing && lastWasTyping_ && !undo_.empty() && undo_.back().Removed.empty() && edit.Removed.empty()) {
    Edit& last = undo_.back();
    const TTextPos lastEnd{last.At.Line, last.At.Column + static_cast<int64_t>(last.Inserted.size())};
    if (last.Inserted.find(u'\n') == Text::npos && lastEnd == edit.At) {
      last.Inserted += edit.Inserted;
      return;
    }
  }
  undo_.push_back(std::move(edit));
  if (undo_.size() > kUndoDepth) undo_.pop_front();
  lastWasTyping_ = typing;
}

void TTextDocument::Insert(TextView text) {
  const TTextRange range = Selection();
  Edit edit{range.Start, TextOf(range.Start, range.End), {}, caret_, anchor_};
  const TTextPos end = Replace(range.Start, range.End, text);
  edit.Inserted = TextOf(range.Start, end);
  const bool typing = text.size() == 1 && text[0] != u'\r' && text[0] != u'\n';
  Record(std::move(edit), typing);
  caret_ = anchor_ = end;
  preferredColumn_ = -1;
  lastWasTyping_ = typing;
}

void TTextDocument::DeleteBack() { DeleteTowards(TCaretMove::Left); }

void TTextDocument::DeleteForward() { DeleteTowards(TCaretMove::Right); }

void TTextDocument::DeleteTowards(TCaretMove move) {
  if (!HasSelection()) {
    const TTextPos before = caret_;
    Move(move, false);
    anchor_ = before;
    if (!HasSelection()) return;
  }
  Insert(u"");
  lastWasTyping_ = false;
}

bool TTextDocument::Undo() {
  if (undo_.empty()) return false;
  const Edit edit = std::move(undo_.back());
  undo_.pop_back();
  TTextPos end = edit.At;
  {
    // The end of the inserted text: count its line breaks.
    for (size_t i = 0; i < edit.Inserted.size(); ++i) {
      if (edit.Inserted[i] == u'\r' && i + 1 < edit.Inserted.size() && edit.Inserted[i + 1] == u'\n') ++i;
      if (edit.Inserted[i] == u'\n' || edit.Inserted[i] == u'\r') {
        ++end.Line;
        end.Column = 0;
      } else {
        ++end.Column;
      }
    }
  }
  Replace(edit.At, end, edit.Removed);
  caret_ = Clamp(edit.CaretBefore);
  anchor_ = Clamp(edit.AnchorBefore);
  preferredColumn_ = -1;
  lastWasTyping_ = false;
  return true;
}

std::optional<TTextRange> TTextDocument::Find(TextView text, TTextPos from, const TFindOptions& options) const {
  if (text.empty() || text.find_first_of(u"\r\n") != TextView::npos) return std::nullopt;
  from = Clamp(from);
  const auto same = [&](char16_t a, char16_t b) { return options.MatchCase ? a == b : FoldCase(a) == FoldCase(b); };
  const auto accepted = [&](const Text& line, size_t at) {
    if (!options.WholeWord) return true;
    const bool before = at > 0 && IsWordCharacter(line[at - 1]);
    const bool after = at + text.size() < line.size() && IsWordCharacter(line[at + text.size()]);
    return !before && !after;
  };
  const auto matchAt = [&](const Text& line, size_t at) {
    for (size_t k = 0; k < text.size(); ++k)
      if (!same(line[at + k], text[k])) return false;
    return accepted(line, at);
  };
  const size_t n = text.size();
  // Lines are skimmed for one character of the text, its first one that is
  // not a blank (blanks are everywhere; a declaration's search text starts
  // with one), in both letter cases unless case counts.
  size_t anchor = 0;
  while (anchor + 1 < n && (text[anchor] == u' ' || text[anchor] == u'\t')) ++anchor;
  char16_t anchorChars[3] = {text[anchor], 0, 0};
  if (!options.MatchCase) {
    anchorChars[0] = FoldCase(text[anchor]);
    anchorChars[1] = UpperOf(anchorChars[0]);
  }
  const TextView skim(anchorChars, anchorChars[1] != 0 && anchorChars[1] != anchorChars[0] ? 2 : 1);
  if (options.Forward) {
    for (int64_t l = from.Line; l < LineCount(); ++l) {
      const Text& line = Line(l);
      const TextView view(line);
      const size_t begin = (l == from.Line ? static_cast<size_t>(from.Column) : 0) + anchor;
      for (size_t p = view.find_first_of(skim, begin); p != TextView::npos && p - anchor + n <= line.size();
           p = view.find_first_of(skim, p + 1))
        if (matchAt(line, p - anchor))
          return TTextRange{{l, static_cast<int64_t>(p - anchor)}, {l, static_cast<int64_t>(p - anchor + n)}};
    }
  } else {
    for (int64_t l = from.Line; l >= 0; --l) {
      const Text& line = Line(l);
      const size_t limit = l == from.Line ? static_cast<size_t>(from.Column) : line.size();
      if (limit < n) continue;
      const TextView view(line);
      for (size_t p = view.find_last_of(skim, limit - n + anchor); p != TextView::npos && p >= anchor;
           p = p == anchor ? TextView::npos : view.find_last_of(skim, p - 1))
        if (matchAt(line, p - anchor))
          return TTextRange{{l, static_cast<int64_t>(p - anchor)}, {l, static_cast<int64_t>(p - anchor + n)}};
    }
  }
  return std::nullopt;
}

Text TTextDocument::WordAt(TTextPos pos) const {
  pos = Clamp(pos);
  const Text& line = Line(pos.Line);
  auto start = static_cast<size_t>(pos.Column);
  auto end = start;
  while (end < line.size() && IsWordCharacter(line[end])) ++end;
  while (start > 0 && IsWordCharacter(line[start - 1])) --start;
  return line.substr(start, end - start);
}

}  // namespace brannock::ui
