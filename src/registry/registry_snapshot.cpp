#include "registry/registry_snapshot.h"

#include "registry/classes_root.h"
#include "registry/key_tree_copy.h"

namespace brannock::registry {

namespace {

constexpr TextView kClasses = u"Software\\Classes";

}  // namespace

// Read back, the same classes root results.
void ToSnapshotLayout(MemoryStore& store) {
  MoveMachineWow64Classes(store);
  MemoryStore::Node& given = store.Root(RootKey::ClassesRoot);
  if (given.Empty()) return;
  OverlayMove(*store.CreatePath(RootKey::LocalMachine, kClasses), given);
}

std::vector<ExportKey> SnapshotKeys() {
  return {{RootKey::LocalMachine, Text(kClasses)},
          {RootKey::CurrentUser, Text(kClasses)},
          {RootKey::LocalMachine, u"SOFTWARE\\Microsoft\\Ole"}};
}

std::unique_ptr<MemoryStore> ReadSnapshot(const RegistrySource& source) {
  if (source.kind != RegistrySource::Kind::Live) {
    auto store = LoadSourceStore(source.kind, source.path, StoreLayout::AsStored);
    ToSnapshotLayout(*store);
    return store;
  }
  auto store = std::make_unique<MemoryStore>();
  for (const ExportKey& key : SnapshotKeys())
    CopyKeyTree(*source.backend, key.root, key.path, Access::KeyRead | Access::Wow64_64Key, *store);
  return store;
}

void SaveSnapshot(const std::filesystem::path& file, const RegistrySource& source) {
  SaveRegFile(file, *ReadSnapshot(source), SnapshotKeys());
}

}  // namespace brannock::registry
