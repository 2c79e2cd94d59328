#include "platform/environment_list.h"

#include "common/text_rules.h"
#include "platform/environment.h"

namespace brannock::platform {

void GetEnvironmentList(TextList& list) {
  list.clear();
  for (const Text& entry : EnvironmentBlock()) {
    // The block ends at its first empty entry.
    if (entry.empty()) break;
    if (entry.front() == u'=') continue;
    list.push_back(TrimControls(entry));
  }
}

namespace {

constexpr size_t kTailChars = 1024;

// The part of a NAME=VALUE line before its first "="; empty without one.
TextView LineName(const Text& line) {
  const size_t eq = line.find(u'=');
  return eq == Text::npos ? TextView() : TextView(line).substr(0, eq);
}

// The value of the first line whose name equals `name` without regard to
// case (the line itself at the latest, so there always is one).
TextView FirstValueOf(const TextList& list, TextView name) {
  for (const Text& line : list) {
    const TextView lineName = LineName(line);
    if (EqualsNoCase(lineName, name)) return TextView(line).substr(lineName.size() + 1);
  }
  return TextView();
}

// `name` between the given characters ("%NAME%", "\\NAME").
Text Enclosed(TextView before, TextView name, TextView after) {
  Text s;
  s.reserve(before.size() + name.size() + after.size());
  s.append(before).append(name).append(after);
  return s;
}

// Replaces text[pos, pos + len) by `value`, keeping at most 1024
// characters of what follows.
Text ReplaceAt(const Text& text, size_t pos, size_t len, TextView value) {
  Text out = text.substr(0, pos);
  out.append(value);
  out.append(TextView(text).substr(pos + len, kTailChars));
  return out;
}

}  // namespace

Text ExpandEnvVars(const TextList& list, const Text& text) {
  Text result = text;
  for (const Text& line : list) {
    const TextView name = LineName(line);
    if (IsBlank(name)) continue;
    const TextView value = FirstValueOf(list, name);
    const Text percentForm = Enclosed(u"%", name, u"%");
    size_t pos = result.find(percentForm);
    if (pos != Text::npos) {
      result = ReplaceAt(result, pos, percentForm.size(), value);
      continue;
    }
    const Text backslashForm = Enclosed(u"\\", name, u"");
    pos = result.find(backslashForm);
    if (pos != Text::npos) result = ReplaceAt(result, pos, backslashForm.size(), value);
  }
  return result;
}

namespace {

const Text* LookUp(const TextList& entries, TextView name) {
  for (const Text& e : entries) {
    // Entries are NAME=VALUE; the hidden "=C:=C:\x" entries have an "=" at 0.
    const size_t eq = e.find(u'=', 1);
    if (eq == Text::npos) continue;
    if (EqualsNoCase(TextView(e).substr(0, eq), name)) return &e;
  }
  return nullptr;
}

}  // namespace

Text ExpandWithEntries(TextView text, const TextList& entries) {
  Text out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u'%') {
      out.push_back(text[i++]);
      continue;
    }
    const size_t close = text.find(u'%', i + 1);
    if (close == TextView::npos) {
      out.append(text.substr(i));
      break;
    }
    const TextView name = text.substr(i + 1, close - i - 1);
    const Text* entry = name.empty() ? nullptr : LookUp(entries, name);
    if (entry != nullptr) {
      out.append(TextView(*entry).substr(entry->find(u'=', 1) + 1));
      i = close + 1;
    } else {
      // Unknown: keep "%NAME" and go on from the second "%", which may open
      // the next reference.
      out.append(text.substr(i, close - i));
      i = close;
    }
  }
  return out;
}

}  // namespace brannock::platform
