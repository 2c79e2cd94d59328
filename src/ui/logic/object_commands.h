// The main window's commands on the focused object and on list files, the
// same in both front ends: each handler below is its command's whole
// sequence (what it needs selected, the busy state, the work, the clean-up,
// the box). TfrmMain of each front end derives from TObjectCommands and
// supplies its controls (the protected functions that are pure virtual); a
// new command is added here once, with the controls it needs.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "catalogue/catalogue.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"
#include "typelib/access.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/command_flow.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/object_actions.h"
#include "ui/logic/object_tree.h"

namespace brannock::ui {

class TObjectCommands {
 public:
  // Where the commands act: the Windows programs' host, the registry view
  // type libraries are looked up in (none: the 64-bit one), and the source
  // whose files a registration may change (none for the live registry).
  struct Context {
    ToolHost tools;
    registry::ViewedRegistry* view = nullptr;
    registry::RegistrySource* source = nullptr;
  };

  virtual ~TObjectCommands() = default;
  TObjectCommands(const TObjectCommands&) = delete;
  TObjectCommands& operator=(const TObjectCommands&) = delete;

  // Handlers, by their menu items and buttons.
  void cmSave(int tag);       // "Save" submenu, tags of SaveCommandFor
  void bCopyClick();          // "Copy to Clipboard"
  void bRegClick(int tag);    // "Register"/"Unregister", UnregistersFor(tag)
  void cmCreateInst();        // "Create instance"
  void cmViewTLB();           // "View Type Information...", "Type Library...", double click
  void cmViewTypeLib();       // "View TypeLib..."

  // The library loader the viewer commands use: the registry's own on a
  // file source, oleaut32 (or the file reader) on the live registry.
  std::unique_ptr<typelib::TypeLibLoader> CreateLoader();

 protected:
  TObjectCommands(Catalogue& catalogue, UserMessages& messages, Context context);

  // A copy of the focused object's list entry; none on a root, with
  // nothing focused, or when the entry is gone.
  std::optional<TObjectData> FocusedObject();

  // The controls.
  // The focused node of the object tree: its record, null when nothing is
  // focused; whether it is a root.
  struct Focus {
    const TObjectNode* node = nullptr;
    bool root = false;
  };
  virtual Focus FocusedRecord() const = 0;
  // The window's busy state: its cursor, the status bar's first panel, a
  // repaint.
  virtual BusyDisplay& StatusDisplay() = 0;
  // The dialogs; an empty text or none when the user cancels.
  virtual Text ChooseSaveFile(TextView suggested) = 0;
  virtual Text ChooseTypeLibFile() = 0;
  virtual std::optional<size_t> ChooseTypeLibResource(const TextList& items) = 0;
  // The detail pane's header texts and registry lines (each line before its
  // children, children in their order), and the clipboard.
  virtual Text HeaderName() const = 0;
  virtual Text HeaderGuid() const = 0;
  virtual std::vector<SummaryLine> RegistryLines() const = 0;
  virtual void PutOnClipboard(const Text& text) = 0;
  // The viewer for a record, modal (ViewTypeLibWindow, typelib_view.h).
  virtual void ShowTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader) = 0;
  // The object tree read anew (File > Refresh).
  virtual void Refresh() = 0;

  Catalogue& catalogue_;
  UserMessages& messages_;
  Context context_;
};

// What the object commands reach outside the program, replaceable for
// tests: the start of the registration tool and the test instance. An empty
// function brings the default (RunTool, ProbeInstance) back.
void SetToolRunner(ToolRunner runner);
void SetInstanceProbe(InstanceProbe probe);

}  // namespace brannock::ui
