#include "ui/logic/idl_tokens.h"

#include <algorithm>
#include <array>

#include "common/ascii.h"

namespace brannock::ui {

namespace {

using namespace std::literals;

// Words of the IDL grammar and its base types (IDL is case-sensitive).
constexpr std::array kIdlKeywords = {
    u"boolean"sv,   u"byte"sv,     u"char"sv,       u"coclass"sv, u"const"sv,      u"cpp_quote"sv,
    u"dispinterface"sv, u"double"sv, u"enum"sv,     u"float"sv,   u"hyper"sv,      u"import"sv,
    u"importlib"sv, u"int"sv,      u"interface"sv,  u"library"sv, u"long"sv,       u"methods"sv,
    u"module"sv,    u"properties"sv, u"SAFEARRAY"sv, u"short"sv,  u"signed"sv,     u"small"sv,
    u"struct"sv,    u"typedef"sv,  u"union"sv,      u"unsigned"sv, u"void"sv,      u"wchar_t"sv,
    u"__int3264"sv, u"__int64"sv,  u"__int32"sv,    u"__int16"sv, u"__int8"sv,
};

bool IsWordStart(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c >= 0x80; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsWordChar(char16_t c) { return IsWordStart(c) || IsDigit(c); }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v'; }

class IdlScanner {
 public:
  IdlScanner(TextView line, TIdlLineState state, std::vector<TTokenRun>* runs)
      : line_(line), state_(state), runs_(runs) {
    runs_->clear();
  }

  TIdlLineState Run() {
    // A preprocessor line (#include, #define) is one directive.
    if (!state_.InComment) {
      const size_t first = line_.find_first_not_of(u" \t");
      if (first != TextView::npos && line_[first] == u'#') {
        Emit(TPascalToken::Blank, first);
        Emit(TPascalToken::Directive, line_.size() - pos_);
        return state_;
      }
    }
    while (pos_ < line_.size()) {
      if (state_.InComment) {
        CloseComment(0);
        continue;
      }
      const char16_t c = line_[pos_];
      if (IsBlank(c)) {
        Emit(TPascalToken::Blank, Span(IsBlank));
      } else if (c == u'/' && At(pos_ + 1) == u'*') {
        state_.InComment = true;
        CloseComment(2);
      } else if (c == u'/' && At(pos_ + 1) == u'/') {
        Emit(TPascalToken::Comment, line_.size() - pos_);
      } else if (c == u'"' || c == u'\'') {
        Quoted(c);
      } else if (IsDigit(c) || (c == u'.' && IsDigit(At(pos_ + 1)))) {
        Number();
      } else if (IsWordStart(c)) {
        Word();
      } else {
        Punctuation(c);
      }
    }
    return state_;
  }

 private:
  char16_t At(size_t i) const { return i < line_.size() ? line_[i] : u'\0'; }

  size_t Span(bool (*pred)(char16_t)) const {
    size_t end = pos_;
    while (end < line_.size() && pred(line_[end])) ++end;
    return end - pos_;
  }

  void Emit(TPascalToken token, size_t length) {
    AddTokenRun(runs_, pos_, length, token);
    pos_ += length;
  }

  // The open comment up to and including "*/", or to the end of the line;
  // `opening` characters at the caret belong to it already.
  void CloseComment(size_t opening) {
    const size_t end = line_.find(u"*/", pos_ + opening);
    size_t length = line_.size() - pos_;
    if (end != TextView::npos) {
      length = end + 2 - pos_;
      state_.InComment = false;
    }
    Emit(TPascalToken::Comment, length);
  }

  // 12, 0x1F, 1.5e-3: digits and letters, a fraction, a signed exponent.
  void Number() {
    size_t end = pos_ + Span(IsWordChar);
    if (At(end) == u'.' && IsDigit(At(end + 1))) {
      ++end;
      while (end < line_.size() && IsWordChar(line_[end])) ++end;
    }
    if ((line_[end - 1] == u'e' || line_[end - 1] == u'E') && (At(end) == u'+' || At(end) == u'-')) {
      ++end;
      while (end < line_.size() && IsDigit(line_[end])) ++end;
    }
    Emit(TPascalToken::Number, end - pos_);
  }

  // "..." or '.' with backslash escapes; one left open ends with the line.
  void Quoted(char16_t quote) {
    size_t end = pos_ + 1;
    while (end < line_.size() && line_[end] != quote) end += line_[end] == u'\\' ? 2 : 1;
    Emit(TPascalToken::String, std::min(end + 1, line_.size()) - pos_);
  }

  void Word() {
    const size_t length = Span(IsWordChar);
    const TextView word = line_.substr(pos_, length);
    TPascalToken token = TPascalToken::Identifier;
    if (state_.Brackets > 0 && state_.Parens == 0) {
      token = TPascalToken::Attribute;
    } else if (std::find(kIdlKeywords.begin(), kIdlKeywords.end(), word) != kIdlKeywords.end()) {
      token = TPascalToken::Keyword;
    }
    Emit(token, length);
    // uuid(...) holds a GUID, which reads as one number.
    if (token == TPascalToken::Attribute && word == u"uuid" && At(pos_) == u'(') {
      Punctuation(u'(');
      Emit(TPascalToken::Number, Span([](char16_t ch) { return HexDigitValue(ch) >= 0 || ch == u'-'; }));
    }
  }

  void Punctuation(char16_t c) {
    if (c == u'[') {
      ++state_.Brackets;
    } else if (c == u']' && state_.Brackets > 0) {
      --state_.Brackets;
      state_.Parens = 0;
    } else if (c == u'(' && state_.Brackets > 0) {
      ++state_.Parens;
    } else if (c == u')' && state_.Parens > 0) {
      --state_.Parens;
    }
    Emit(TPascalToken::Symbol, 1);
  }

  TextView line_;
  TIdlLineState state_;
  std::vector<TTokenRun>* runs_;
  size_t pos_ = 0;
};

}  // namespace

TIdlLineState TokenizeIdlLine(TextView line, TIdlLineState state, std::vector<TTokenRun>* runs) {
  return IdlScanner(line, state, runs).Run();
}

TUnitLineState TokenizeUnitLine(TUnitLanguage language, TextView line, TUnitLineState state,
                                std::vector<TTokenRun>* runs) {
  if (language == TUnitLanguage::Idl)
    state.Idl = TokenizeIdlLine(line, state.Idl, runs);
  else
    state.Pascal = TokenizePascalLine(line, state.Pascal, runs);
  return state;
}

}  // namespace brannock::ui
