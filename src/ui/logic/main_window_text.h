// The main window's fixed texts and the numbers its commands are told apart
// by, shared by both front ends.
#pragma once

#include <optional>

#include "catalogue/object_data.h"
#include "common/text.h"

namespace brannock::ui {

// The status texts are busy_scope.h's kWorkingText and kReadyText.
inline constexpr char16_t kApplicationTitle[] = u"Brannock";
// "Create instance" of a class whose only server is a 32-bit DLL.
inline constexpr char16_t kOnly32BitInprocServerText[] =
    u"The class has only a 32-bit in-process server, which a 64-bit program cannot load.";

// Register and unregister share one handler; the tag of the button or menu
// item chooses: 0 registers, any other value unregisters.
inline constexpr int kRegisterTag = 0;
inline constexpr int kUnregisterTag = 1;
inline bool UnregistersFor(int tag) { return tag != kRegisterTag; }

// The four items of the "Save" submenu, by tag: 0 application IDs, 1
// interfaces, 2 object classes, 3 type libraries, each with the file name
// the save dialog suggests.
struct SaveCommand {
  TObjectType typ;
  const char16_t* caption;
  const char16_t* suggestedFile;
};
inline constexpr int kSaveCommandCount = 4;
std::optional<SaveCommand> SaveCommandFor(int tag);

// The save dialog's filter: list files first, then every file. The Win32
// dialog shows the names alone (kSaveListFilterName, kSaveAllFilesFilterName);
// Qt's wants the patterns in the name.
inline constexpr char16_t kListFileFilterName[] = u"CSV files (*.csv)";
inline constexpr char16_t kSaveListFilterName[] = u"CSV files";
inline constexpr char16_t kSaveAllFilesFilterName[] = u"All files";
inline constexpr char16_t kListFileExtension[] = u"csv";

// The open dialog of "View TypeLib...": the type library files first.
inline constexpr char16_t kTypeLibFilterName[] = u"TypeLib Files (*.tlb;*.olb;*.dll;*.ocx;*.exe)";
inline constexpr char16_t kTypeLibFilterPatterns[] = u"*.tlb;*.olb;*.dll;*.ocx;*.exe";
inline constexpr char16_t kOpenAllFilesFilterName[] = u"All Files (*.*)";

}  // namespace brannock::ui
