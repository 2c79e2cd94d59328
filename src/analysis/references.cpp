#include "analysis/references.h"

#include <algorithm>

#include "analysis/search_text.h"
#include "catalogue/catalogue_paths.h"
#include "registry/registry_reader.h"

namespace brannock::analysis {

using typelib::TKIND_COCLASS;

namespace {

// Collects the lines group by group: a group's lines are sorted by name
// (the object tree's rule, then GUID) unless it keeps the order they came
// in, and each line is listed once.
class Lines {
 public:
  Lines(const RegistrationIndex& index, registry::RegistryBackend& registry) : index_(index), registry_(registry) {}

  void Group(bool sorted = true) {
    Close();
    groupStart_ = out_.lines.size();
    sorted_ = sorted;
  }

  // A reference to the catalogue object of kind `typ` with subkey `guid`;
  // `knownName` names it when it is missing.
  void To(TextView relation, TObjectType typ, const Text& guid, const Text& knownName = {}) {
    if (guid.empty()) return;
    if (const auto i = index_.Find(typ, guid)) return ToEntry(relation, typ, *i);
    Add({Text(relation), TargetKindOf(typ), knownName, guid, true, std::nullopt});
  }

  void ToEntry(TextView relation, TObjectType typ, uint32_t i) {
    Add({Text(relation), TargetKindOf(typ), index_.Name(typ, i), index_.Guid(typ, i), false, i});
  }

  // A ProgID: missing without a key of its name; its GUID is the class its
  // key names.
  void ToProgId(TextView relation, const Text& progId) {
    if (progId.empty()) return;
    registry::RegistryReader reader = registry::RegistryReader::ProcessView(registry_);
    Reference r{Text(relation), TargetKind::ProgID, progId, {}, true, std::nullopt};
    if (reader.OpenKeyReadOnly(progId)) {
      r.missing = false;
      if (reader.OpenKeyReadOnly(KeyPath(progId, u"CLSID"))) {
        uint32_t type = 0;
        registry::Bytes data;
        if (reader.GetData(u"", &type, &data) && type == registry::RegType::Sz) r.guid = registry::TextUpToNul(data);
      }
    }
    Add(std::move(r));
  }

  void Note(Text note) { out_.notes.push_back(std::move(note)); }

  References Done() {
    Close();
    return std::move(out_);
  }

 private:
  void Add(Reference r) {
    for (size_t i = groupStart_; i < out_.lines.size(); ++i) {
      const Reference& o = out_.lines[i];
      if (o.relation == r.relation && o.kind == r.kind && EqualsNoCase(o.guid, r.guid) && o.name == r.name) return;
    }
    out_.lines.push_back(std::move(r));
  }

  void Close() {
    if (!sorted_) return;
    std::stable_sort(out_.lines.begin() + static_cast<ptrdiff_t>(groupStart_), out_.lines.end(),
                     [](const Reference& a, const Reference& b) {
                       const int byName = LowerAscii(a.name).compare(LowerAscii(b.name));
                       if (byName != 0) return byName < 0;
                       return CompareNoCase(a.guid, b.guid) < 0;
                     });
  }

  const RegistrationIndex& index_;
  registry::RegistryBackend& registry_;
  References out_;
  size_t groupStart_ = 0;
  bool sorted_ = true;
};

Text WithMarks(TextView relation, int32_t flags) {
  Text text(relation);
  const bool isDefault = flags & typelib::ImplTypeFlag::Default, isSource = flags & typelib::ImplTypeFlag::Source;
  if (isDefault && isSource) return text + u" [default, source]";
  if (isDefault) return text + u" [default]";
  if (isSource) return text + u" [source]";
  return text;
}

bool SameFile(const Text& a, const Text& b) {
  return !a.empty() && !b.empty() && FoldedForSearch(ServerFilePath(a)) == FoldedForSearch(ServerFilePath(b));
}

// Calls fn(library, type) for every type the read libraries declare.
template <class Fn>
void ForDeclared(const LibraryScan* libraries, Fn fn) {
  if (!libraries) return;
  for (const ScannedLibrary& lib : libraries->Libraries())
    for (const DeclaredType& type : lib.types) fn(lib, type);
}

void ClassLines(Lines& out, const RegistrationIndex& index, const LibraryScan* libraries, uint32_t self) {
  const auto& c = index.classes[self];
  out.Group(false);
  out.ToProgId(u"ProgID", c.keys.progId);
  out.ToProgId(u"VersionIndependentProgID", c.keys.versionIndependentProgId);
  out.To(u"AppID", TObjectType::otAppID, c.keys.appId);
  out.To(u"TypeLib", TObjectType::otTypeLib, c.keys.typeLib);
  out.To(u"TreatAs", TObjectType::otCLSID, c.keys.treatAs);
  out.To(u"AutoTreatAs", TObjectType::otCLSID, c.keys.autoTreatAs);
  out.Group();
  for (uint32_t i = 0; i < index.classes.size(); ++i) {
    if (EqualsNoCase(index.classes[i].keys.treatAs, c.guid)) out.ToEntry(u"treated as by", TObjectType::otCLSID, i);
    if (EqualsNoCase(index.classes[i].keys.autoTreatAs, c.guid))
      out.ToEntry(u"auto-treated as by", TObjectType::otCLSID, i);
  }
  // The coclass in the class's own library; in any library when that one
  // does not declare it.
  out.Group(false);
  for (bool ownLibrary : {true, false}) {
    bool found = false;
    ForDeclared(libraries, [&](const ScannedLibrary& lib, const DeclaredType& type) {
      if (type.kind != TKIND_COCLASS || !EqualsNoCase(type.guid, c.guid)) return;
      if (ownLibrary && !EqualsNoCase(index.typeLibs[lib.typeLib].guid, c.keys.typeLib)) return;
      found = true;
      for (const ImplementedType& impl : type.implemented)
        out.To(WithMarks(u"implements", impl.flags), TObjectType::otInterface, impl.guid, impl.name);
    });
    if (found) break;
  }
  out.Group();
  for (uint32_t i = 0; i < index.interfaces.size(); ++i) {
    const InterfaceKeys& f = index.interfaces[i].keys;
    if (EqualsNoCase(f.proxyStubClsid32, c.guid) || EqualsNoCase(f.proxyStubClsid, c.guid))
      out.ToEntry(u"proxy/stub for", TObjectType::otInterface, i);
  }
  out.Group();
  for (uint32_t i = 0; i < index.classes.size(); ++i) {
    if (i == self) continue;
    const ClassKeys& o = index.classes[i].keys;
    if (SameFile(o.inprocServer32, c.keys.inprocServer32) || SameFile(o.localServer32, c.keys.localServer32))
      out.ToEntry(u"same server", TObjectType::otCLSID, i);
  }
}

void InterfaceLines(Lines& out, const RegistrationIndex& index, const LibraryScan* libraries, uint32_t self) {
  const auto& f = index.interfaces[self];
  out.Group(false);
  out.To(u"ProxyStubClsid32", TObjectType::otCLSID, f.keys.proxyStubClsid32);
  out.To(u"ProxyStubClsid", TObjectType::otCLSID, f.keys.proxyStubClsid);
  out.To(u"TypeLib", TObjectType::otTypeLib, f.keys.typeLib);
  out.To(u"BaseInterface", TObjectType::otInterface, f.keys.baseInterface);
  ForDeclared(libraries, [&](const ScannedLibrary&, const DeclaredType& type) {
    if (type.kind != TKIND_COCLASS && EqualsNoCase(type.guid, f.guid) && !type.implemented.empty())
      out.To(u"inherits from", TObjectType::otInterface, type.implemented[0].guid, type.implemented[0].name);
  });
  out.Group();
  ForDeclared(libraries, [&](const ScannedLibrary&, const DeclaredType& type) {
    if (type.kind != TKIND_COCLASS && !type.implemented.empty() && EqualsNoCase(type.implemented[0].guid, f.guid))
      out.To(u"inherited by", TObjectType::otInterface, type.guid, type.name);
  });
  out.Group();
  ForDeclared(libraries, [&](const ScannedLibrary&, const DeclaredType& type) {
    if (type.kind != TKIND_COCLASS) return;
    for (const ImplementedType& impl : type.implemented)
      if (EqualsNoCase(impl.guid, f.guid))
        out.To(WithMarks(u"implemented by", impl.flags), TObjectType::otCLSID, type.guid, type.name);
  });
  out.Group();
  ForDeclared(libraries, [&](const ScannedLibrary& lib, const DeclaredType& type) {
    if (type.kind != TKIND_COCLASS && EqualsNoCase(type.guid, f.guid))
      out.ToEntry(u"declared in", TObjectType::otTypeLib, lib.typeLib);
  });
}

void TypeLibLines(Lines& out, const RegistrationIndex& index, const LibraryScan* libraries, uint32_t self) {
  const Text& guid = index.typeLibs[self].guid;
  out.Group();
  for (uint32_t i = 0; i < index.classes.size(); ++i)
    if (EqualsNoCase(index.classes[i].keys.typeLib, guid)) out.ToEntry(u"registered class", TObjectType::otCLSID, i);
  out.Group();
  for (uint32_t i = 0; i < index.interfaces.size(); ++i)
    if (EqualsNoCase(index.interfaces[i].keys.typeLib, guid))
      out.ToEntry(u"registered interface", TObjectType::otInterface, i);
  // What it declares that is registered, class or interface.
  out.Group();
  ForDeclared(libraries, [&](const ScannedLibrary& lib, const DeclaredType& type) {
    if (lib.typeLib != self) return;
    const TObjectType typ = type.kind == TKIND_COCLASS ? TObjectType::otCLSID : TObjectType::otInterface;
    if (const auto i = index.Find(typ, type.guid)) out.ToEntry(u"declares", typ, *i);
  });
}

void AppIdLines(Lines& out, const RegistrationIndex& index, uint32_t self) {
  const auto& a = index.appIds[self];
  out.Group(false);
  out.To(u"AppID", TObjectType::otAppID, a.keys.appId);
  out.Group();
  for (uint32_t i = 0; i < index.classes.size(); ++i)
    if (EqualsNoCase(index.classes[i].keys.appId, a.guid)) out.ToEntry(u"registered class", TObjectType::otCLSID, i);
  out.Group();
  for (uint32_t i = 0; i < index.appIds.size(); ++i)
    if (i != self && EqualsNoCase(index.appIds[i].keys.appId, a.guid))
      out.ToEntry(u"executable", TObjectType::otAppID, i);
}

// Libraries not read, not all read, or read with failures. A type
// library's references need only its own versions.
void LibraryNotes(Lines& out, const RegistrationIndex& index, const LibraryScan* libraries, TObjectType typ,
                  uint32_t self) {
  if (!NeedsLibraries(typ)) return;
  if (!libraries) {
    out.Note(u"The registered type libraries were not read: what they declare is not listed.");
    return;
  }
  if (!libraries->Finished())
    out.Note(u"Reading the type libraries stopped after " + UIntToText(libraries->Done()) + u" of " +
             UIntToText(libraries->Total()) + u": what the others declare is not listed.");
  for (const ScannedLibrary& lib : libraries->Libraries()) {
    if (!typelib::Failed(lib.result)) continue;
    if (typ == TObjectType::otTypeLib && lib.typeLib != self) continue;
    const auto& t = index.typeLibs[lib.typeLib];
    const TypeLibVersionKeys& version = t.keys.versions[lib.version];
    out.Note(u"Not read: " + version.name + u" (" + t.guid + u" " + version.version + u"): " + lib.failure);
  }
}

}  // namespace

const char16_t* TargetKindName(TargetKind kind) {
  switch (kind) {
    case TargetKind::CLSID: return u"CLSID";
    case TargetKind::TypeLib: return u"TypeLib";
    case TargetKind::AppID: return u"AppID";
    case TargetKind::Interface: return u"Interface";
    case TargetKind::ProgID: break;
  }
  return u"ProgID";
}

// Both enumerations follow the catalogue's kinds.
TargetKind TargetKindOf(TObjectType typ) { return static_cast<TargetKind>(typ); }

std::optional<TObjectType> ObjectTypeOf(TargetKind kind) {
  if (kind == TargetKind::ProgID) return std::nullopt;
  return static_cast<TObjectType>(kind);
}

bool NeedsLibraries(TObjectType typ) { return typ != TObjectType::otAppID; }

References FindReferences(const RegistrationIndex& index, registry::RegistryBackend& registry,
                          const LibraryScan* libraries, TObjectType typ, uint32_t entry) {
  Lines out(index, registry);
  switch (typ) {
    case TObjectType::otCLSID: ClassLines(out, index, libraries, entry); break;
    case TObjectType::otTypeLib: TypeLibLines(out, index, libraries, entry); break;
    case TObjectType::otAppID: AppIdLines(out, index, entry); break;
    case TObjectType::otInterface: InterfaceLines(out, index, libraries, entry); break;
  }
  LibraryNotes(out, index, libraries, typ, entry);
  return out.Done();
}

Text ServerFilePath(TextView server) {
  const Text s = TrimControls(server);
  if (!s.empty() && s.front() == u'"') {
    const size_t end = s.find(u'"', 1);
    return s.substr(1, end == Text::npos ? Text::npos : end - 1);
  }
  const Text upper = UpperAscii(s);
  const size_t exe = upper.find(u".EXE ");
  return exe == Text::npos ? s : TrimControls(TextView(s).substr(0, exe + 4));
}

}  // namespace brannock::analysis
