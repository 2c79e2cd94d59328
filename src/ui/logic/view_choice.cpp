#include "ui/logic/view_choice.h"

#include "catalogue/object_kinds.h"
#include "common/error.h"
#include "registry/registry_reader.h"
#include "registry/viewed_registry.h"
#include "ui/logic/window_settings.h"

namespace brannock::ui {

using registry::RegistryView;

Text ViewStatusText(RegistryView view) { return registry::ViewName(view) + u" registrations"; }

Text ViewItemCaption(RegistryView view, const registry::RegistryBackend& source) {
  if (ViewItemEnabled(view, source)) return ViewStatusText(view);
  return ViewStatusText(view) + u" (none in a registry of " + registry::ViewName(source.MachineView()) +
         u" Windows)";
}

bool ViewItemEnabled(RegistryView view, const registry::RegistryBackend& source) { return source.HasView(view); }

Text MainWindowTitle(TextView applicationTitle, RegistryView view) {
  return Text(applicationTitle) + u" - " + registry::ViewName(view);
}

bool SwitchView(registry::ViewedRegistry& viewed, Catalogue& catalogue, RegistryView view) {
  if (view == viewed.View()) return false;
  registry::RequireView(viewed, view);
  viewed.SetView(view);
  for (const ObjectKind& kind : kObjectKinds) catalogue.List(kind.typ).clear();
  return true;
}

RegistryView StartView(std::optional<RegistryView> commandLine, std::optional<RegistryView> stored,
                       const registry::RegistryBackend& source) {
  if (commandLine) return *commandLine;
  if (stored && source.HasView(*stored)) return *stored;
  return registry::DefaultView(source);
}

std::optional<RegistryView> ReadStoredView(registry::RegistryBackend& settings) {
  auto reader = registry::RegistryReader::ProcessView(settings, registry::RootKey::CurrentUser);
  if (!reader.OpenKeyReadOnly(kSettingsKey)) return std::nullopt;
  uint32_t type = 0, size = 0;
  if (!reader.GetDataInfo(kViewValueName, &type, &size) || type != registry::RegType::Dword || size != 4)
    return std::nullopt;
  switch (reader.ReadInteger(kViewValueName)) {
    case 32: return RegistryView::Bits32;
    case 64: return RegistryView::Bits64;
    default: return std::nullopt;
  }
}

void WriteStoredView(registry::RegistryBackend& settings, RegistryView view) {
  auto reader = registry::RegistryReader::ProcessView(settings, registry::RootKey::CurrentUser);
  if (!reader.OpenKeyForWriting(kSettingsKey)) throw Error(u"Unable to create key '" + Text(kSettingsKey) + u"'");
  reader.WriteInteger(kViewValueName, view == RegistryView::Bits32 ? 32 : 64);
}

}  // namespace brannock::ui
