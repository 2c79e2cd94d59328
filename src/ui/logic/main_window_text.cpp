#include "ui/logic/main_window_text.h"

namespace brannock::ui {

std::optional<SaveCommand> SaveCommandFor(int tag) {
  static constexpr SaveCommand kSave[kSaveCommandCount] = {
      {TObjectType::otAppID, u"Application IDs...", u"AppIds.csv"},
      {TObjectType::otInterface, u"Interfaces...", u"Intfs.csv"},
      {TObjectType::otCLSID, u"Object Classes...", u"ObjClasses.csv"},
      {TObjectType::otTypeLib, u"Type Libraries...", u"TLBs.csv"},
  };
  if (tag < 0 || tag >= kSaveCommandCount) return std::nullopt;
  return kSave[tag];
}

}  // namespace brannock::ui
