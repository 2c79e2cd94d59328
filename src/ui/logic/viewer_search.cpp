#include "ui/logic/viewer_search.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace brannock::ui {

Text DeclarationSearchText(TextView nodeText) { return u" " + Text(nodeText) + u" = "; }

Text DeclarationSearchText(TextView nodeText, TUnitLanguage language) {
  return language == TUnitLanguage::Idl ? u" " + Text(nodeText) : DeclarationSearchText(nodeText);
}

TDeclarationLineRule::TDeclarationLineRule(TextView nodeText, TUnitLanguage language)
    : name_(nodeText), language_(language), wanted_(u"  " + Text(nodeText) + u" = ") {}

bool TDeclarationLineRule::IsDeclaration(TextView line) {
  if (language_ == TUnitLanguage::Idl) return IsIdlDeclaration(line);
  if (line == u"type") {
    blockHead_ = true;
  } else if (blockHead_ && !line.starts_with(u"  //")) {
    blockHead_ = false;
    matchStart_ = 1;
    matchLength_ = wanted_.size() - 1;
    return line.starts_with(wanted_);
  }
  return false;
}

namespace {

bool IsIdlWordChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c >= 0x80;
}

// The words of an IDL line after `from`, with an attribute list "[...]"
// (strings in it skipped) taken as no word; each word's start.
std::vector<std::pair<size_t, TextView>> IdlWords(TextView line, size_t from) {
  std::vector<std::pair<size_t, TextView>> words;
  size_t i = from;
  while (i < line.size()) {
    if (line[i] == u'[') {
      bool quoted = false;
      for (++i; i < line.size() && (quoted || line[i] != u']'); ++i) {
        if (line[i] == u'"') quoted = !quoted;
        if (quoted && line[i] == u'\\') ++i;
      }
      ++i;
    } else if (IsIdlWordChar(line[i])) {
      const size_t start = i;
      while (i < line.size() && IsIdlWordChar(line[i])) ++i;
      words.emplace_back(start, line.substr(start, i - start));
    } else {
      ++i;
    }
  }
  return words;
}

}  // namespace

bool TDeclarationLineRule::IsIdlDeclaration(TextView line) {
  if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
  const bool library = line.starts_with(u"library ");
  if (!library && (!line.starts_with(u"    ") || line.size() < 5 || line[4] == u' ')) return false;
  const auto words = IdlWords(line, library ? 0 : 4);
  if (words.size() < 2) return false;
  const TextView first = words[0].second;
  size_t at = SIZE_MAX;
  if (first == u"library" || first == u"interface" || first == u"dispinterface" || first == u"coclass" ||
      first == u"module") {
    if (!line.ends_with(u";")) at = 1;
  } else if (first == u"typedef") {
    const TextView kind = words[1].second;
    if (kind == u"enum" || kind == u"struct" || kind == u"union") {
      if (words.size() > 2) at = 2;
    } else if (line.ends_with(u";")) {
      at = words.size() - 1;
    }
  }
  if (at == SIZE_MAX || words[at].second != name_) return false;
  matchStart_ = words[at].first;
  matchLength_ = name_.size();
  return true;
}

std::optional<TTextMatch> FindDeclarationMatch(TextView text, TextView nodeText, TUnitLanguage language) {
  TDeclarationLineRule rule(nodeText, language);
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find(u'\n', start);
    if (end == TextView::npos) end = text.size();
    TextView line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (rule.IsDeclaration(line)) return TTextMatch{start + rule.MatchStart(), rule.MatchLength()};
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<size_t> FindDeclarationLine(TextView text, TextView nodeText) {
  const std::optional<TTextMatch> match = FindDeclarationMatch(text, nodeText, TUnitLanguage::Pascal);
  if (!match) return std::nullopt;
  return match->Start;
}

TDeclarationJump DeclarationJump(int64_t foundLine, int64_t matchStart, int64_t matchEnd,
                                 int64_t positionBeforeMatch) {
  TDeclarationJump jump;
  jump.FirstVisibleLine = std::max<int64_t>(0, foundLine - 2);
  jump.Caret = matchEnd;
  jump.SelectionStart = std::clamp<int64_t>(positionBeforeMatch, 0, matchStart);
  jump.SelectionEnd = matchStart;
  return jump;
}

TSearchRange FindRange(int64_t caret, int64_t textLength, bool forward) {
  caret = std::clamp<int64_t>(caret, 0, textLength);
  return forward ? TSearchRange{caret, textLength} : TSearchRange{caret, 0};
}

TMatchSelection MatchSelection(int64_t matchStart, int64_t matchEnd, bool forward) {
  return forward ? TMatchSelection{matchStart, matchEnd} : TMatchSelection{matchEnd, matchStart};
}

}  // namespace brannock::ui
