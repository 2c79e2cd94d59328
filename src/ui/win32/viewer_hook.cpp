#include "ui/win32/viewer_hook.h"

#include "platform/version_info.h"
#include "ui/logic/about_text.h"
#include "ui/win32/message_boxes.h"

namespace brannock::ui {

namespace {

TypeLibViewer& Viewer() {
  static TypeLibViewer viewer;
  return viewer;
}

AboutDialog& About() {
  static AboutDialog dialog;
  return dialog;
}

}  // namespace

void SetTypeLibViewer(TypeLibViewer viewer) { Viewer() = std::move(viewer); }
void SetAboutDialog(AboutDialog dialog) { About() = std::move(dialog); }

void ViewTypeLib(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader) {
  if (Viewer()) {
    Viewer()(owner, record, loader);
    return;
  }
  ShowPlainUnitWindow(owner, record, loader);
}

void ShowAbout(HWND owner) {
  if (About()) {
    About()(owner);
    return;
  }
  const platform::TVersionInfo info = platform::ReadVersionInfo();
  ShowInfoBox(info.ProductName + u"\r\n" + VersionLineText(info) + u"\r\n" + info.LegalCopyright, kAboutCaption);
}

}  // namespace brannock::ui
