#include "analysis/object_finder.h"

#include <algorithm>

#include "analysis/search_text.h"
#include "catalogue/object_kinds.h"

namespace brannock::analysis {

namespace {

// The object tree's order: names with A to Z lower-cased, by UTF-16 code
// units; equal names by their GUIDs, so that the order does not depend on
// the registry's order of keys.
template <class Keys>
std::vector<uint32_t> TreeOrder(const std::vector<IndexedObject<Keys>>& objects) {
  std::vector<uint32_t> order(objects.size());
  std::vector<Text> lowered(objects.size());
  for (uint32_t i = 0; i < order.size(); ++i) {
    order[i] = i;
    lowered[i] = LowerAscii(objects[i].name);
  }
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int byName = lowered[a].compare(lowered[b]);
    if (byName != 0) return byName < 0;
    return CompareNoCase(objects[a].guid, objects[b].guid) < 0;
  });
  return order;
}

}  // namespace

const char16_t* FindFieldName(FindField field) {
  switch (field) {
    case FindField::GUID: return u"GUID";
    case FindField::Name: return u"Name";
    case FindField::ProgID: return u"ProgID";
    case FindField::VersionIndependentProgID: return u"VersionIndependentProgID";
    case FindField::InprocServer32: return u"InprocServer32";
    case FindField::LocalServer32: return u"LocalServer32";
    case FindField::InprocHandler32: return u"InprocHandler32";
    case FindField::File: return u"File";
    case FindField::Executable: return u"Executable";
    case FindField::LocalService: break;
  }
  return u"LocalService";
}

ObjectFinder::ObjectFinder(const RegistrationIndex& index) : index_(index) {
  // The executables of each AppID: the entries AppID\x.exe that name it.
  std::vector<std::vector<const Text*>> executables(index.appIds.size());
  for (const auto& entry : index.appIds) {
    if (entry.keys.appId.empty()) continue;
    if (const auto target = index.Find(TObjectType::otAppID, entry.keys.appId))
      executables[*target].push_back(&entry.guid);
  }
  for (const ObjectKind& kind : kObjectKinds) {
    switch (kind.typ) {
      case TObjectType::otCLSID:
        for (uint32_t i : TreeOrder(index.classes)) {
          const auto& c = index.classes[i];
          AddEntry(kind.typ, i, c.guid);
          AddText(FindField::Name, c.name);
          AddText(FindField::ProgID, c.keys.progId);
          AddText(FindField::VersionIndependentProgID, c.keys.versionIndependentProgId);
          AddText(FindField::InprocServer32, c.keys.inprocServer32);
          AddText(FindField::LocalServer32, c.keys.localServer32);
          AddText(FindField::InprocHandler32, c.keys.inprocHandler32);
        }
        break;
      case TObjectType::otTypeLib:
        for (uint32_t i : TreeOrder(index.typeLibs)) {
          const auto& t = index.typeLibs[i];
          AddEntry(kind.typ, i, t.guid);
          AddText(FindField::Name, t.name);
          for (const TypeLibVersionKeys& v : t.keys.versions)
            for (const Text& file : v.files) AddText(FindField::File, file);
        }
        break;
      case TObjectType::otAppID:
        for (uint32_t i : TreeOrder(index.appIds)) {
          const auto& a = index.appIds[i];
          AddEntry(kind.typ, i, a.guid);
          AddText(FindField::Name, a.name);
          for (const Text* exe : executables[i]) AddText(FindField::Executable, *exe);
          AddText(FindField::LocalService, a.keys.localService);
        }
        break;
      case TObjectType::otInterface:
        for (uint32_t i : TreeOrder(index.interfaces)) {
          AddEntry(kind.typ, i, index.interfaces[i].guid);
          AddText(FindField::Name, index.interfaces[i].name);
        }
        break;
    }
  }
}

void ObjectFinder::AddEntry(TObjectType typ, uint32_t index, const Text& guid) {
  const auto texts = static_cast<uint32_t>(texts_.size());
  Entry entry{typ, index, texts, texts, kNoDigits};
  const std::optional<std::string> digits = GuidDigits(guid);
  if (digits && !digits->empty()) {
    entry.guidDigits = static_cast<uint32_t>(guidDigits_.size());
    // A GUID has 32 digits; a longer key name keeps its first 32.
    guidDigits_ += digits->substr(0, 32);
    guidDigits_.resize(entry.guidDigits + 32u, ' ');
  }
  entries_.push_back(entry);
}

void ObjectFinder::AddText(FindField field, const Text& text) {
  if (text.empty()) return;
  texts_.push_back({field, static_cast<uint32_t>(folded_.size()), static_cast<uint32_t>(text.size()), &text});
  folded_ += FoldedForSearch(text);
  entries_.back().endText = static_cast<uint32_t>(texts_.size());
}

FindResult ObjectFinder::Find(TextView text, size_t cap) const {
  FindResult result;
  const Text wanted = FoldedForSearch(TrimControls(text));
  if (wanted.empty()) return result;
  std::optional<std::string> prefix = GuidDigits(wanted);
  if (prefix && prefix->size() < kGuidPrefixDigits) prefix.reset();
  const TextView all(folded_);
  for (const Entry& e : entries_) {
    std::optional<FoundObject> found;
    if (prefix && e.guidDigits != kNoDigits && prefix->size() <= 32 &&
        guidDigits_.compare(e.guidDigits, prefix->size(), *prefix) == 0) {
      found = FoundObject{e.typ, e.index, FindField::GUID, index_.Guid(e.typ, e.index)};
    }
    for (uint32_t t = e.firstText; !found && t < e.endText; ++t) {
      const SearchText& s = texts_[t];
      if (all.substr(s.offset, s.length).find(wanted) != TextView::npos)
        found = FoundObject{e.typ, e.index, s.field, *s.original};
    }
    if (!found) continue;
    if (result.objects.size() == cap) {
      result.more = true;
      break;
    }
    result.objects.push_back(std::move(*found));
  }
  return result;
}

}  // namespace brannock::analysis
