#include "registry/classes_view.h"

namespace brannock::registry {

namespace {

constexpr TextView kRedirected[] = {u"CLSID", u"DirectShow", u"Interface", u"Media Type", u"MediaFoundation"};

bool IsRootPath(TextView path) { return path.empty() || path == u"\\"; }

}  // namespace

bool IsRedirectedClassesKey(TextView name) {
  for (TextView redirected : kRedirected)
    if (EqualsNoCase(name, redirected)) return true;
  return false;
}

MemoryStore::Node* FindClasses32(MemoryStore::Node& classes, TextView path) {
  if (IsRootPath(path)) return &classes;
  const size_t slash = path.find(u'\\');
  const TextView first = path.substr(0, slash);
  if (EqualsNoCase(first, kWow64Node)) return nullptr;  // not a key of this view
  MemoryStore::Node* top = &classes;
  if (IsRedirectedClassesKey(first)) {
    top = classes.FindChild(kWow64Node);
    if (top == nullptr) return nullptr;
  }
  return MemoryStore::FindBelow(*top, path);
}

TextList Classes32RootNames(const MemoryStore::Node& classes) {
  const MemoryStore::Node* wow = classes.FindChild(kWow64Node);
  TextList names;
  names.reserve(classes.Children().size());
  auto redirected = wow ? wow->Children().begin() : classes.Children().end();
  auto redirectedEnd = wow ? wow->Children().end() : classes.Children().end();
  auto nextRedirected = [&] {
    while (redirected != redirectedEnd && !IsRedirectedClassesKey(redirected->first)) ++redirected;
  };
  nextRedirected();
  // Both maps are in enumeration order: merge them.
  for (const auto& [key, child] : classes.Children()) {
    if (IsRedirectedClassesKey(key) || EqualsNoCase(key, kWow64Node)) continue;
    for (; redirected != redirectedEnd && KeyNameLess()(redirected->first, key); ++redirected, nextRedirected())
      names.push_back(redirected->second->name);
    names.push_back(child->name);
  }
  for (; redirected != redirectedEnd; ++redirected, nextRedirected()) names.push_back(redirected->second->name);
  return names;
}

}  // namespace brannock::registry
