// A registry seen in one view. Every key is opened with that view's flag
// (replacing any view flag the caller asked for), so the list builders, the
// value texts, the key lists and the type library look-up all read the same
// view and nothing of the other one. The view can be changed between two
// reads (the window's View menu); readers opened before keep their keys.
#pragma once

#include <optional>

#include "registry/registry_backend.h"

namespace brannock::registry {

class ViewedRegistry : public RegistryBackend {
 public:
  ViewedRegistry(RegistryBackend& store, RegistryView view) : store_(&store), view_(view) {}

  RegistryView View() const { return view_; }
  void SetView(RegistryView view) { view_ = view; }
  RegistryBackend& Store() const { return *store_; }

  std::unique_ptr<OpenedKey> Open(RootKey root, TextView path, uint32_t access) override;
  // Settings keys (HKEY_CURRENT_USER) are not split by view.
  std::unique_ptr<OpenedKey> Create(RootKey root, TextView path) override;
  // The view flag is always given, so no reader needs to add one.
  bool RunsUnderWow64() const override { return false; }
  RegistryView MachineView() const override { return store_->MachineView(); }
  // One machine, one environment, whichever view is read.
  TextList WindowsEnvironment() const override { return store_->WindowsEnvironment(); }

 private:
  RegistryBackend* store_;
  RegistryView view_;
};

// The view a source is read in unless the user chooses: the machine's own.
inline RegistryView DefaultView(const RegistryBackend& backend) { return backend.MachineView(); }

// Whether a program that reads `view` of this machine opens the 32-bit
// system folder (SysWOW64) where a path names system32: the file system
// redirection of a 32-bit program on 64-bit Windows.
inline bool SeesWow64Files(const RegistryBackend& backend, RegistryView view) {
  return view == RegistryView::Bits32 && backend.MachineView() == RegistryView::Bits64;
}

// "32" or "64" (the --view option); nothing for any other text.
std::optional<RegistryView> ViewFromText(TextView text);
// "32-bit" or "64-bit".
Text ViewName(RegistryView view);

// The choice of a view the source does not have (64-bit on a registry of
// 32-bit Windows) raises an Error saying so.
void RequireView(const RegistryBackend& backend, RegistryView view);

}  // namespace brannock::registry
