#include "typelib/file_loader.h"

#include <cstring>
#include <map>

#include "common/typelib_version.h"
#include "platform/environment_list.h"
#include "platform/file_reading.h"
#include "platform/files.h"
#include "registry/registry_backend.h"
#include "registry/viewed_registry.h"
#include "registry/windows_environment.h"
#include "typelib/msft_model.h"
#include "typelib/pe_resources.h"
#include "typelib/sltg_parser.h"
#include "typelib/wow64_paths.h"

namespace brannock::typelib {

struct FileTypeLibLoader::State : std::enable_shared_from_this<State> {
  registry::RegistryBackend* registry = nullptr;
  PathMapper mapper;
  std::optional<ReadFailure> lastFailure;
  registry::RegistryView view = registry::RegistryView::Bits64;
  // A 32-bit program on 64-bit Windows: system32 means SysWOW64.
  bool wow64Files = false;
  TextList windowsEnvironment;
  // The last file name that named no host file, for the failure's message.
  Text missingFile;

  std::optional<std::filesystem::path> HostFile(TextView name) const;
  HRESULT RegisteredPath(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid, Text* path);
  HRESULT LoadFile(const Text& fileName, std::shared_ptr<TypeLib>* lib);
  HRESULT LoadRegistered(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                         std::shared_ptr<TypeLib>* lib);
  ImportResolver ResolverNextTo(const std::filesystem::path& libraryFile);
};

ResourceSuffix SplitResourceSuffix(TextView name) {
  ResourceSuffix r{Text(name), std::nullopt};
  const size_t slash = name.find_last_of(u"\\/");
  if (slash == TextView::npos || slash + 1 == name.size() || name.size() - slash - 1 > 5) return r;
  uint32_t n = 0;
  for (char16_t c : name.substr(slash + 1)) {
    if (c < u'0' || c > u'9') return r;
    n = n * 10 + (c - u'0');
  }
  if (n > 0xFFFF) return r;
  r.path = Text(name.substr(0, slash));
  r.resource = static_cast<uint16_t>(n);
  return r;
}

namespace {

// A library's own bytes: MSFT, or the older SLTG format.
HRESULT OpenLibraryData(ByteSpan data, ImportResolver resolver, std::shared_ptr<TypeLib>* lib, ReadFailure* failure) {
  if (sltg::IsSltgTypeLib(data)) {
    Expected<void> opened = OpenSltgTypeLib(data, std::move(resolver), lib);
    if (opened) return S_OK_;
    if (failure) *failure = opened.Failure();
    return opened.Failure().code;
  }
  return OpenMsftTypeLib(data, std::move(resolver), lib, failure);
}

}  // namespace

HRESULT OpenTypeLibBytes(ByteSpan bytes, uint16_t resource, ImportResolver resolver, std::shared_ptr<TypeLib>* lib,
                         ReadFailure* failure) {
  if (msft::IsMsftTypeLib(bytes) || sltg::IsSltgTypeLib(bytes))
    return OpenLibraryData(bytes, std::move(resolver), lib, failure);
  ByteSpan data;
  const PeError e = FindPeResource(bytes, Text(u"TYPELIB"), resource, &data);
  if (e == PeError::Malformed) return Code::TypeInvDataRead;
  if (e != PeError::None) return Code::TypeCantLoadLibrary;
  return OpenLibraryData(data, std::move(resolver), lib, failure);
}

std::optional<std::filesystem::path> FileTypeLibLoader::State::HostFile(TextView name) const {
  const Text plain = PlainWindowsPath(name);
  if (plain.empty()) return std::nullopt;
  if (!WindowsPathRoot(plain).empty()) {
    if (auto mapped = mapper.MapWindowsPath(wow64Files ? RedirectToWow64Dir(plain) : plain)) return mapped;
  }
  // A host path as it is (without its quotes).
  TextView unquoted = name;
  if (unquoted.size() >= 2 && unquoted.front() == u'"' && unquoted.back() == u'"')
    unquoted = unquoted.substr(1, unquoted.size() - 2);
  std::error_code ec;
  std::filesystem::path host = platform::HostPath(unquoted);
  if (std::filesystem::is_regular_file(host, ec)) return host;
  // A bare file name is searched for as LoadTypeLib searches for it: the
  // system folder, then the Windows folder (the program's own folder and
  // the current folder of a Windows process have no counterpart here).
  if (plain.find_first_of(u"\\:") == Text::npos) {
    for (TextView folder : {wow64Files ? kWow64SystemDir : kSystemDir, TextView(u"C:\\windows")})
      if (auto found = mapper.MapWindowsPath(Text(folder) + u"\\" + plain)) return found;
  }
  return std::nullopt;
}

HRESULT FileTypeLibLoader::State::LoadFile(const Text& fileName, std::shared_ptr<TypeLib>* lib) {
  uint16_t resource = 1;
  auto host = HostFile(fileName);
  if (!host) {
    const ResourceSuffix split = SplitResourceSuffix(fileName);
    if (split.resource) host = HostFile(split.path);
    if (!host) {
      missingFile = split.resource ? split.path : fileName;
      return Code::TypeCantLoadLibrary;
    }
    resource = *split.resource;
  }
  // Mapped, not copied: the reader keeps what it reads, not the file.
  platform::FileReadFailure unread;
  const std::shared_ptr<const platform::WholeFile> file = platform::WholeFile::Read(*host, kMaxTypeLibFileBytes, &unread);
  if (!file) return Code::TypeCantLoadLibrary;
  const std::string_view bytes = file->Bytes();
  ReadFailure failure{0, 0, nullptr};
  const HRESULT hr = OpenTypeLibBytes(ByteSpan(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), resource,
                                      ResolverNextTo(*host), lib, &failure);
  if (Failed(hr) && failure.record) lastFailure = failure;
  if (Succeeded(hr) && *lib) SetLibraryFile(**lib, fileName);
  return hr;
}

// An imported library is found as oleaut32 finds it: first by its
// registration (GUID, version and locale of the import, as LoadRegTypeLib
// looks them up), then by the file name the import records, as LoadTypeLib
// searches for it; a bare name is looked for beside the importing library
// first (the folder a Windows program loading it would search as its own),
// then in the system and Windows folders.
ImportResolver FileTypeLibLoader::State::ResolverNextTo(const std::filesystem::path& libraryFile) {
  // The library keeps the loader's state (not the loader) alive.
  std::shared_ptr<State> state = shared_from_this();
  const std::filesystem::path dir = libraryFile.parent_path();
  return [state, dir](const msft::ImportedLibrary& imported, std::shared_ptr<TypeLib>* lib) -> HRESULT {
    const Text missingBefore = state->missingFile;
    const std::optional<ReadFailure> failureBefore = state->lastFailure;
    HRESULT hr = state->LoadRegistered(imported.libid, imported.majorVersion, imported.minorVersion,
                                       imported.lcid, lib);
    if (Succeeded(hr)) return hr;
    const Text plain = PlainWindowsPath(imported.fileName);
    if (plain.find_first_of(u"\\:") == Text::npos) {
      if (auto beside = FindNoCase(dir, plain)) {
        const HRESULT local = state->LoadFile(platform::HostPathText(*beside), lib);
        if (Succeeded(local)) return local;
      }
    }
    if (!plain.empty() && Succeeded(state->LoadFile(plain, lib))) return S_OK_;
    // A missing or damaged import is not the failure of the library that
    // imports it.
    state->missingFile = missingBefore;
    state->lastFailure = failureBefore;
    return hr;
  };
}

namespace {

// A registry string value's text: UTF-16LE up to the first NUL; an
// expandable one with its %NAME% references expanded in `environment`.
bool ReadDefaultString(registry::OpenedKey& key, const TextList& environment, Text* text) {
  uint32_t type = 0, size = 0;
  registry::Bytes data;
  if (!key.QueryValue(u"", &type, &size, &data)) return false;
  if (type != registry::RegType::Sz && type != registry::RegType::ExpandSz) return false;
  Text t;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (c == 0) break;
    t.push_back(c);
  }
  *text = type == registry::RegType::ExpandSz ? platform::ExpandWithEntries(t, environment) : std::move(t);
  return true;
}

}  // namespace

HRESULT FileTypeLibLoader::State::RegisteredPath(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                                                 Text* path) {
  if (!registry) return Code::TypeLibNotRegistered;
  const Text libKey = u"TypeLib\\" + GuidToText(guid);
  const uint32_t access = registry::Access::KeyRead | registry::ViewAccessFlag(view);
  auto lib = registry->Open(registry::RootKey::ClassesRoot, libKey, access);
  if (!lib) return Code::TypeLibNotRegistered;
  // The exact version, else the highest minor version above the requested
  // one with the same major.
  std::optional<Text> versionKey;
  uint32_t bestMinor = 0;
  for (const Text& name : lib->SubkeyNames()) {
    uint32_t keyMajor, keyMinor;
    if (!ParseTypeLibVersion(name, &keyMajor, &keyMinor) || keyMajor != major) continue;
    if (keyMinor == minor) {
      versionKey = name;
      break;
    }
    if (keyMinor > minor && (!versionKey || keyMinor > bestMinor)) {
      versionKey = name;
      bestMinor = keyMinor;
    }
  }
  if (!versionKey) return Code::TypeLibNotRegistered;
  const Text versionPath = libKey + u"\\" + *versionKey + u"\\";
  // The view's own platform key first, in every locale, then the other.
  const bool bits32 = view == registry::RegistryView::Bits32;
  for (const char16_t* platform : {bits32 ? u"win32" : u"win64", bits32 ? u"win64" : u"win32"}) {
    for (uint32_t locale : {lcid, lcid & 0x3FF, 0u}) {
      auto key = registry->Open(registry::RootKey::ClassesRoot, versionPath + HexUpper(locale) + u"\\" + platform,
                                access);
      if (key && ReadDefaultString(*key, windowsEnvironment, path)) return S_OK_;
    }
  }
  return Code::TypeLibNotRegistered;
}

HRESULT FileTypeLibLoader::State::LoadRegistered(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                                                 std::shared_ptr<TypeLib>* lib) {
  Text path;
  const HRESULT hr = RegisteredPath(guid, major, minor, lcid, &path);
  if (Failed(hr)) return hr;
  return LoadFile(path, lib);
}

FileTypeLibLoader::FileTypeLibLoader(registry::RegistryBackend* registry, PathMapper mapper,
                                     registry::RegistryView view)
    : state_(std::make_shared<State>()) {
  state_->registry = registry;
  state_->mapper = std::move(mapper);
  state_->view = view;
  state_->wow64Files = registry ? registry::SeesWow64Files(*registry, view) : view == registry::RegistryView::Bits32;
  state_->windowsEnvironment =
      registry != nullptr ? registry->WindowsEnvironment() : registry::DefaultWindowsEnvironment();
}

FileTypeLibLoader::~FileTypeLibLoader() = default;

HRESULT FileTypeLibLoader::LoadRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                                          std::shared_ptr<TypeLib>* lib) {
  state_->missingFile.clear();
  state_->lastFailure.reset();
  return state_->LoadRegistered(guid, major, minor, lcid, lib);
}

HRESULT FileTypeLibLoader::LoadTypeLib(const Text& fileName, std::shared_ptr<TypeLib>* lib) {
  state_->missingFile.clear();
  state_->lastFailure.reset();
  return state_->LoadFile(CleanText(fileName), lib);
}

bool FileTypeLibLoader::ReadLibraryFile(const Text& fileName, std::vector<uint8_t>* bytes) {
  const auto host = state_->HostFile(CleanText(fileName));
  return host && platform::ReadWholeFile(*host, kMaxTypeLibFileBytes, bytes);
}

std::optional<ReadFailure> FileTypeLibLoader::LastReadFailure() const { return state_->lastFailure; }

Text FileTypeLibLoader::FailureDetail() const {
  const Text& file = state_->missingFile;
  if (file.empty()) {
    if (!state_->lastFailure) return {};
    // A damaged library: where the reader stopped.
    return u"The library is damaged: " + Utf8ToUtf16(state_->lastFailure->Where());
  }
  Text detail = u"File not found: " + file;
  const Text hint = DriveOptionHint(file);
  if (!hint.empty() && !state_->mapper.HasRootOf(file))
    detail += u" (no host folder is mapped to " + WindowsPathRoot(PlainWindowsPath(file)) + u"; map one with " +
              hint + u")";
  return detail;
}

// A name with a resource suffix ("x.dll\2") names an existing file when
// the file before the suffix exists, as LoadTypeLib takes it.
bool FileTypeLibLoader::FileExists(const Text& fileName) {
  const Text name = CleanText(fileName);
  if (state_->HostFile(name)) return true;
  const ResourceSuffix split = SplitResourceSuffix(name);
  return split.resource && state_->HostFile(split.path);
}

HRESULT FileTypeLibLoader::QueryPathOfRegTypeLib(const Guid& guid, uint16_t major, uint16_t minor, uint32_t lcid,
                                                 Text* path) {
  return state_->RegisteredPath(guid, major, minor, lcid, path);
}

}  // namespace brannock::typelib
