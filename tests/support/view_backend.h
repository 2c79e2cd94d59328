// A registry back end for tests that models the two registry views of a
// 32-bit process on 64-bit Windows: keys opened with KEY_WOW64_64KEY while
// "running under WOW64" see `native`, every other open sees `redirected`.
// It records every open (path and access mask), can refuse chosen access
// masks, and counts the keys that are open at the moment.
#pragma once

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "registry/memory_store.h"

namespace brannock::testing {

class ViewBackend : public registry::RegistryBackend {
 public:
  struct OpenCall {
    Text path;
    uint32_t access;
  };

  registry::MemoryStore redirected;  // the 32-bit (process) view
  registry::MemoryStore native;      // the 64-bit view under WOW64
  bool wow64 = true;
  // Access masks (without the view flag) that Open refuses.
  std::set<uint32_t> refusedMasks;
  // Paths (exact spelling) that refuse every access mask.
  std::set<Text> refusedPaths;

  std::vector<OpenCall> opens;
  int openKeys = 0;

  bool RunsUnderWow64() const override { return wow64; }

  std::unique_ptr<registry::OpenedKey> Open(registry::RootKey root, TextView path, uint32_t access) override {
    opens.push_back({Text(path), access});
    if (refusedMasks.count(access & ~registry::Access::ViewMask) != 0) return nullptr;
    if (refusedPaths.count(Text(path)) != 0) return nullptr;
    registry::MemoryStore& store = wow64 && (access & registry::Access::Wow64_64Key) ? native : redirected;
    auto key = store.Open(root, path, access);
    if (!key) return nullptr;
    return std::make_unique<CountedKey>(std::move(key), &openKeys);
  }

  std::vector<uint32_t> Masks() const {
    std::vector<uint32_t> masks;
    for (const auto& o : opens) masks.push_back(o.access);
    return masks;
  }

  // Paths opened, in order.
  std::vector<Text> Paths() const {
    std::vector<Text> paths;
    for (const auto& o : opens) paths.push_back(o.path);
    return paths;
  }

 private:
  class CountedKey : public registry::OpenedKey {
   public:
    CountedKey(std::unique_ptr<registry::OpenedKey> inner, int* counter) : inner_(std::move(inner)), counter_(counter) {
      ++*counter_;
    }
    ~CountedKey() override { --*counter_; }
    TextList SubkeyNames() override { return inner_->SubkeyNames(); }
    TextList ValueNames() override { return inner_->ValueNames(); }
    bool QueryValue(TextView name, uint32_t* type, uint32_t* size, registry::Bytes* data) override {
      return inner_->QueryValue(name, type, size, data);
    }

   private:
    std::unique_ptr<registry::OpenedKey> inner_;
    int* counter_;
  };
};

}  // namespace brannock::testing
