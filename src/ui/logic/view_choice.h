// The registry view of the main window: which of the two views of
// HKEY_CLASSES_ROOT the object tree shows (registry/viewed_registry.h), the
// texts that name it (View menu, title, status bar), how the choice is made
// at start-up and kept with the window settings.
#pragma once

#include <optional>

#include "catalogue/catalogue.h"
#include "registry/registry_backend.h"
#include "registry/viewed_registry.h"

namespace brannock::ui {

// The value beside the window placement (kSettingsKey): REG_DWORD 32 or 64.
inline constexpr char16_t kViewValueName[] = u"RegistryView";

// The View menu's radio items, in menu order.
inline constexpr registry::RegistryView kViewItems[] = {registry::RegistryView::Bits64,
                                                        registry::RegistryView::Bits32};

// "64-bit registrations" or "32-bit registrations"; for a view the source
// does not have, the caption says so (and the item is disabled).
Text ViewItemCaption(registry::RegistryView view, const registry::RegistryBackend& source);
bool ViewItemEnabled(registry::RegistryView view, const registry::RegistryBackend& source);

// The application's title and the view: "Brannock - 64-bit",
// "Brannock - 32-bit".
Text MainWindowTitle(TextView applicationTitle, registry::RegistryView view);
// The status bar panel: "64-bit registrations", "32-bit registrations".
Text ViewStatusText(registry::RegistryView view);

// The View menu's choice for a window whose catalogue reads `viewed`:
// false when `view` is the one shown; a view the source lacks raises
// RequireView's Error. Otherwise `viewed` reads `view` from now on and the
// four lists, read from the other view, are emptied; the window then
// clears its pane and reads them anew as Refresh does.
bool SwitchView(registry::ViewedRegistry& viewed, Catalogue& catalogue, registry::RegistryView view);

// The view at start-up: the one given on the command line, else the stored
// one when the source has it, else the source's own.
registry::RegistryView StartView(std::optional<registry::RegistryView> commandLine,
                                 std::optional<registry::RegistryView> stored,
                                 const registry::RegistryBackend& source);

// The stored view; nothing when the value is missing or not 32 or 64.
std::optional<registry::RegistryView> ReadStoredView(registry::RegistryBackend& settings);
// Writes the value; raises Error "Unable to create key '%s'" when the
// settings key cannot be created.
void WriteStoredView(registry::RegistryBackend& settings, registry::RegistryView view);

}  // namespace brannock::ui
