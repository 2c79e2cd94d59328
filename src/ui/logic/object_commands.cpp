#include "ui/logic/object_commands.h"

#include "catalogue/list_file.h"
#include "platform/files.h"
#include "typelib/loader.h"
#include "typelib/typelib_resources.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/typelib_choice.h"

namespace brannock::ui {

namespace {

struct Hooks {
  ToolRunner runner;
  InstanceProbe probe;
};

Hooks& CommandHooks() {
  static Hooks hooks;
  return hooks;
}

// Whether the class of `object` has, on 64-bit Windows, a 32-bit in-process
// server and no other: no 32-bit local server and no 64-bit registration
// with a server. This program and its instance helper are 64-bit, and a
// 64-bit process cannot load a 32-bit DLL.
bool OnlyA32BitInprocServer(const registry::ViewedRegistry* view, const TObjectData& object) {
  if (!view || !registry::SeesWow64Files(view->Store(), view->View())) return false;
  const Text clsid = object.Typ == TObjectType::otCLSID ? object.GUID : object.CLSID;
  if (clsid.empty()) return false;
  registry::RegistryBackend& store = view->Store();
  const auto has = [&](registry::RegistryView in, TextView server) {
    return store.Open(registry::RootKey::ClassesRoot, u"CLSID\\" + clsid + u"\\" + Text(server),
                      registry::Access::KeyRead | registry::ViewAccessFlag(in)) != nullptr;
  };
  using registry::RegistryView;
  return has(RegistryView::Bits32, u"InprocServer32") && !has(RegistryView::Bits32, u"LocalServer32") &&
         !has(RegistryView::Bits64, u"InprocServer32") && !has(RegistryView::Bits64, u"LocalServer32");
}

}  // namespace

void SetToolRunner(ToolRunner runner) { CommandHooks().runner = std::move(runner); }
void SetInstanceProbe(InstanceProbe probe) { CommandHooks().probe = std::move(probe); }

TObjectCommands::TObjectCommands(Catalogue& catalogue, UserMessages& messages, Context context)
    : catalogue_(catalogue), messages_(messages), context_(std::move(context)) {}

std::optional<TObjectData> TObjectCommands::FocusedObject() {
  const Focus focus = FocusedRecord();
  if (!focus.node || focus.root) return std::nullopt;
  return NodeObject(catalogue_.List(focus.node->Typ), *focus.node);
}

std::unique_ptr<typelib::TypeLibLoader> TObjectCommands::CreateLoader() {
  const bool live = context_.tools.kind == ToolHost::Kind::Native;
  return typelib::CreateTypeLibLoader(live ? nullptr : &catalogue_.Backend(), context_.tools.winePrefix, {},
                                      context_.view ? context_.view->View() : registry::RegistryView::Bits64);
}

void TObjectCommands::cmSave(int tag) {
  const std::optional<SaveCommand> command = SaveCommandFor(tag);
  if (!command) return;
  const Text file = ChooseSaveFile(command->suggestedFile);
  if (file.empty()) return;
  BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait, {});
  // A list that holds entries is written as it is.
  if (catalogue_.List(command->typ).empty()) catalogue_.ReadList(command->typ);
  SaveList(platform::HostPath(file), catalogue_.List(command->typ));
}

void TObjectCommands::bCopyClick() {
  PutOnClipboard(CopySummaryText(HeaderName(), HeaderGuid(), RegistryLines()));
}

void TObjectCommands::bRegClick(int tag) {
  const Focus focus = FocusedRecord();
  if (!focus.node) return;
  // A root has no server: nothing runs.
  const std::optional<ToolCommand> command =
      RegistrationCommand(context_.tools, focus.node->Server, UnregistersFor(tag),
                          context_.view ? context_.view->View() : registry::RegistryView::Bits64);
  if (!command) return;
  // The tool shows its own result; whether it started is not reported.
  const ToolRunner& runner = CommandHooks().runner;
  runner ? runner(*command) : RunTool(*command);
  // In a Wine prefix the registration changed the prefix's files: show it.
  if (context_.source && context_.source->ReloadIfChanged()) Refresh();
}

void TObjectCommands::cmCreateInst() {
  const Focus focus = FocusedRecord();
  if (!focus.node || focus.root) return;
  BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait);
  const std::optional<TObjectData> object = FocusedObject();
  if (!object) return;
  const InstanceProbe& probe = CommandHooks().probe;
  const InstanceReport report =
      probe ? probe(context_.tools, object->ProgId) : ProbeInstance(context_.tools, object->ProgId);
  std::optional<Text> failure = InstanceFailureText(report);
  // No instance of a class that only a 32-bit DLL serves: say why.
  if (report.outcome == InstanceReport::Outcome::None && OnlyA32BitInprocServer(context_.view, *object))
    failure = Text(kOnly32BitInprocServerText);
  if (!failure) return;
  // The box belongs to the command: "Working..." stays until it is closed.
  busy.RestoreCursor();
  messages_.ShowBox(BoxKind::Error, *failure);
}

void TObjectCommands::cmViewTLB() {
  const Focus focus = FocusedRecord();
  if (!focus.node || focus.root) return;
  // The viewer is modal: "Working..." stays while it is open. The viewer
  // sets the wait cursor itself while it loads.
  BusyScope busy(StatusDisplay(), BusyScope::Cursor::Unchanged);
  const std::optional<TObjectData> object = FocusedObject();
  if (!object) return;
  if (const std::unique_ptr<typelib::TypeLibLoader> loader = CreateLoader()) ShowTypeLib(*object, *loader);
}

void TObjectCommands::cmViewTypeLib() {
  const Text file = ChooseTypeLibFile();
  if (file.empty()) return;
  const std::unique_ptr<typelib::TypeLibLoader> loader = CreateLoader();
  if (!loader) return;
  TObjectData record;
  record.Server = file;
  // A file with several type libraries: the user chooses one. The status
  // bar is left alone.
  std::vector<typelib::TypeLibResource> resources;
  {
    BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait, {});
    typelib::ListTypeLibResources(*loader, record.Server, &resources);
  }
  if (resources.size() > 1) {
    const std::optional<size_t> index = ChooseTypeLibResource(TypeLibChoiceItems(resources));
    if (!index || *index >= resources.size()) return;
    record.Server = TypeLibChoiceFile(record.Server, resources, *index);
  }
  ShowTypeLib(record, *loader);
}

}  // namespace brannock::ui
