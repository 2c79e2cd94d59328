#include "registry/viewed_registry.h"

#include "common/error.h"

namespace brannock::registry {

std::unique_ptr<OpenedKey> ViewedRegistry::Open(RootKey root, TextView path, uint32_t access) {
  return store_->Open(root, path, (access & ~Access::ViewMask) | ViewAccessFlag(view_));
}

std::unique_ptr<OpenedKey> ViewedRegistry::Create(RootKey root, TextView path) { return store_->Create(root, path); }

std::optional<RegistryView> ViewFromText(TextView text) {
  if (text == u"32") return RegistryView::Bits32;
  if (text == u"64") return RegistryView::Bits64;
  return std::nullopt;
}

Text ViewName(RegistryView view) { return view == RegistryView::Bits32 ? u"32-bit" : u"64-bit"; }

void RequireView(const RegistryBackend& backend, RegistryView view) {
  if (!backend.HasView(view))
    throw Error(u"The registry has no " + ViewName(view) + u" registrations: it is a registry of " +
                ViewName(backend.MachineView()) + u" Windows");
}

}  // namespace brannock::registry
