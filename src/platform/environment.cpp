#include "platform/environment.h"

namespace brannock::platform {

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
