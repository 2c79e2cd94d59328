#include "ui/logic/pascal_tokens.h"

#include <algorithm>
#include <array>

#include "common/ascii.h"

namespace brannock::ui {

namespace {

using namespace std::literals;

// Reserved words and directives, lower case, sorted.
constexpr std::array kKeywords = {
    u"absolute"sv,    u"abstract"sv,     u"add"sv,           u"and"sv,          u"array"sv,
    u"as"sv,          u"asm"sv,          u"assembler"sv,     u"automated"sv,    u"begin"sv,
    u"case"sv,        u"cdecl"sv,        u"class"sv,         u"const"sv,        u"constructor"sv,
    u"contains"sv,    u"default"sv,      u"delayed"sv,       u"deprecated"sv,   u"destructor"sv,
    u"dispid"sv,      u"dispinterface"sv, u"div"sv,          u"do"sv,           u"downto"sv,
    u"dynamic"sv,     u"else"sv,         u"end"sv,           u"except"sv,       u"experimental"sv,
    u"export"sv,      u"exports"sv,      u"external"sv,      u"far"sv,          u"file"sv,
    u"final"sv,       u"finalization"sv, u"finally"sv,       u"for"sv,          u"forward"sv,
    u"function"sv,    u"goto"sv,         u"helper"sv,        u"if"sv,           u"implementation"sv,
    u"implements"sv,  u"in"sv,           u"index"sv,         u"inherited"sv,    u"initialization"sv,
    u"inline"sv,      u"interface"sv,    u"is"sv,            u"label"sv,        u"library"sv,
    u"message"sv,     u"mod"sv,          u"name"sv,          u"near"sv,         u"nil"sv,
    u"nodefault"sv,   u"not"sv,          u"object"sv,        u"of"sv,           u"on"sv,
    u"operator"sv,    u"or"sv,           u"out"sv,           u"overload"sv,     u"override"sv,
    u"package"sv,     u"packed"sv,       u"pascal"sv,        u"platform"sv,     u"private"sv,
    u"procedure"sv,   u"program"sv,      u"property"sv,      u"protected"sv,    u"public"sv,
    u"published"sv,   u"raise"sv,        u"read"sv,          u"readonly"sv,     u"record"sv,
    u"reference"sv,   u"register"sv,     u"reintroduce"sv,   u"remove"sv,       u"repeat"sv,
    u"requires"sv,    u"resourcestring"sv, u"safecall"sv,    u"sealed"sv,       u"set"sv,
    u"shl"sv,         u"shr"sv,          u"static"sv,        u"stdcall"sv,      u"stored"sv,
    u"strict"sv,      u"string"sv,       u"then"sv,          u"threadvar"sv,    u"to"sv,
    u"try"sv,         u"type"sv,         u"unit"sv,          u"unsafe"sv,       u"until"sv,
    u"uses"sv,        u"var"sv,          u"varargs"sv,       u"virtual"sv,      u"while"sv,
    u"winapi"sv,      u"with"sv,         u"write"sv,         u"writeonly"sv,    u"xor"sv,
};

// Directives of a property declaration: keywords only between "property"
// and its ";", plain names elsewhere (a parameter may be called "read").
constexpr std::array kPropertyWords = {u"add"sv,      u"default"sv,  u"implements"sv, u"nodefault"sv,
                                       u"read"sv,     u"readonly"sv, u"remove"sv,     u"stored"sv,
                                       u"write"sv,    u"writeonly"sv};

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c >= 0x80; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return HexDigitValue(c) >= 0; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v'; }

bool Listed(const auto& list, TextView lower) { return std::binary_search(list.begin(), list.end(), lower); }

class LineScanner {
 public:
  LineScanner(TextView line, TPascalLineState state, std::vector<TTokenRun>* runs)
      : line_(line), state_(state), runs_(runs) {
    runs_->clear();
  }

  TPascalLineState Run() {
    while (pos_ < line_.size()) {
      if (state_.Comment != TPascalLineState::Open::None) {
        CloseComment();
        continue;
      }
      const char16_t c = line_[pos_];
      if (IsBlank(c)) {
        Emit(TPascalToken::Blank, Span([](char16_t ch) { return IsBlank(ch); }));
      } else if (c == u'{') {
        const bool directive = At(pos_ + 1) == u'$';
        state_.Comment = directive ? TPascalLineState::Open::BraceDirective : TPascalLineState::Open::BraceComment;
        CloseComment(1);
      } else if (c == u'(' && At(pos_ + 1) == u'*') {
        const bool directive = At(pos_ + 2) == u'$';
        state_.Comment = directive ? TPascalLineState::Open::ParenDirective : TPascalLineState::Open::ParenComment;
        CloseComment(2);
      } else if (c == u'/' && At(pos_ + 1) == u'/') {
        Emit(TPascalToken::Comment, line_.size() - pos_);
      } else if (state_.InAsm) {
        AsmText();
      } else if (IsLetter(c)) {
        Word();
      } else if (IsDigit(c)) {
        Number();
      } else if (c == u'$' && IsHexDigit(At(pos_ + 1))) {
        Emit(TPascalToken::Number, 1 + Span([](char16_t ch) { return IsHexDigit(ch); }, pos_ + 1));
      } else if (c == u'#' && (IsDigit(At(pos_ + 1)) || (At(pos_ + 1) == u'$' && IsHexDigit(At(pos_ + 2))))) {
        const size_t digits = At(pos_ + 1) == u'$' ? 2 + Span([](char16_t ch) { return IsHexDigit(ch); }, pos_ + 2)
                                                   : 1 + Span([](char16_t ch) { return IsDigit(ch); }, pos_ + 1);
        Emit(TPascalToken::String, digits);
      } else if (c == u'\'') {
        QuotedString();
      } else {
        if (c == u';') state_.InProperty = state_.InExports = false;
        Emit(TPascalToken::Symbol, 1);
      }
    }
    return state_;
  }

 private:
  char16_t At(size_t i) const { return i < line_.size() ? line_[i] : u'\0'; }

  template <typename Pred>
  size_t Span(Pred pred, size_t from = SIZE_MAX) const {
    if (from == SIZE_MAX) from = pos_;
    size_t end = from;
    while (end < line_.size() && pred(line_[end])) ++end;
    return end - from;
  }

  void Emit(TPascalToken token, size_t length) {
    AddTokenRun(runs_, pos_, length, token);
    pos_ += length;
  }

  // Runs the open comment up to and including its end, or to the end of the
  // line; `opening` characters at the caret belong to it already.
  void CloseComment(size_t opening = 0) {
    using Open = TPascalLineState::Open;
    const bool brace = state_.Comment == Open::BraceComment || state_.Comment == Open::BraceDirective;
    const bool directive = state_.Comment == Open::BraceDirective || state_.Comment == Open::ParenDirective;
    const size_t from = pos_ + opening;
    const size_t end = brace ? line_.find(u'}', from) : line_.find(u"*)", from);
    size_t length = line_.size() - pos_;
    if (end != TextView::npos) {
      length = end + (brace ? 1 : 2) - pos_;
      state_.Comment = Open::None;
    }
    Emit(directive ? TPascalToken::Directive : TPascalToken::Comment, length);
  }

  void Word() {
    const size_t length = Span([](char16_t ch) { return IsLetter(ch) || IsDigit(ch); });
    TPascalToken token = TPascalToken::Identifier;
    constexpr size_t kLongestKeyword = 16;
    if (length <= kLongestKeyword) {
      char16_t buffer[kLongestKeyword];
      for (size_t i = 0; i < length; ++i) buffer[i] = LowerAscii(line_[pos_ + i]);
      const TextView lower(buffer, length);
      if (Listed(kKeywords, lower)) token = KeywordClass(lower);
    }
    Emit(token, length);
  }

  TPascalToken KeywordClass(TextView lower) {
    if (lower == u"property") state_.InProperty = true;
    if (lower == u"exports") state_.InExports = true;
    if (lower == u"asm") state_.InAsm = true;
    if (Listed(kPropertyWords, lower) && !state_.InProperty) return TPascalToken::Identifier;
    if (lower == u"index" && !state_.InProperty && !state_.InExports) return TPascalToken::Identifier;
    if (lower == u"name" && !state_.InExports) return TPascalToken::Identifier;
    return TPascalToken::Keyword;
  }

  void Number() {
    size_t end = pos_;
    while (end < line_.size()) {
      const char16_t ch = line_[end];
      if (IsDigit(ch)) {
        ++end;
      } else if (ch == u'.' && IsDigit(At(end + 1))) {
        end += 2;  // "1.5"; "0..15" is a range, not a number
      } else if ((ch == u'e' || ch == u'E') &&
                 (IsDigit(At(end + 1)) || ((At(end + 1) == u'+' || At(end + 1) == u'-') && IsDigit(At(end + 2))))) {
        end += 2;
      } else {
        break;
      }
    }
    Emit(TPascalToken::Number, end - pos_);
  }

  // '...' with '' standing for one quote; a string still open at the end of
  // the line ends there.
  void QuotedString() {
    size_t end = pos_ + 1;
    while (end < line_.size()) {
      if (line_[end] == u'\'') {
        if (At(end + 1) != u'\'') {
          ++end;
          break;
        }
        end += 2;
      } else {
        ++end;
      }
    }
    Emit(TPascalToken::String, end - pos_);
  }

  // Inside asm ... end everything but comments is assembler, up to "end".
  void AsmText() {
    if (IsLetter(line_[pos_])) {
      const size_t length = Span([](char16_t ch) { return IsLetter(ch) || IsDigit(ch); });
      if (length == 3 && EqualsNoCase(line_.substr(pos_, 3), u"end")) {
        state_.InAsm = false;
        Emit(TPascalToken::Keyword, length);
        return;
      }
      Emit(TPascalToken::Asm, length);
      return;
    }
    size_t end = pos_ + 1;
    while (end < line_.size() && !IsLetter(line_[end]) && !IsBlank(line_[end]) && line_[end] != u'{' &&
           line_[end] != u'(' && line_[end] != u'/')
      ++end;
    Emit(TPascalToken::Asm, end - pos_);
  }

  TextView line_;
  TPascalLineState state_;
  std::vector<TTokenRun>* runs_;
  size_t pos_ = 0;
};

}  // namespace

void AddTokenRun(std::vector<TTokenRun>* runs, size_t start, size_t length, TPascalToken token) {
  if (length == 0) return;
  if (!runs->empty() && runs->back().Token == token &&
      runs->back().Start + runs->back().Length == static_cast<uint32_t>(start)) {
    runs->back().Length += static_cast<uint32_t>(length);
  } else {
    runs->push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(length), token});
  }
}

TPascalLineState TokenizePascalLine(TextView line, TPascalLineState state, std::vector<TTokenRun>* runs) {
  return LineScanner(line, state, runs).Run();
}

TTokenStyle PascalTokenStyle(TPascalToken token) {
  switch (token) {
    case TPascalToken::Comment:
      return {0x008000, false};
    case TPascalToken::Directive:
      return {0x7F7F00, false};
    case TPascalToken::Number:
      return {0x0000FF, false};
    case TPascalToken::String:
      return {0xFF0000, false};
    case TPascalToken::Asm:
      return {0xFF00FF, false};
    case TPascalToken::Attribute:
      return {0x008080, false};
    case TPascalToken::Keyword:
      return {0x00007F, true};
    case TPascalToken::Blank:
    case TPascalToken::Identifier:
    case TPascalToken::Symbol:
      break;
  }
  return {0x000000, false};
}

}  // namespace brannock::ui
