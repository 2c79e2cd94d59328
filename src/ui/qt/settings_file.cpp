#include "ui/qt/settings_file.h"

#include <QStandardPaths>
#include <system_error>

#include "registry/reg_file_parser.h"
#include "registry/reg_file_writer.h"

namespace brannock::ui {

namespace fs = std::filesystem;

SettingsFile::SettingsFile(fs::path file) : file_(std::move(file)) {}

fs::path SettingsFile::DefaultPath() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::ConfigLocation);
  return fs::path(dir.toStdString()) / "brannock" / "settings.reg";
}

void SettingsFile::Load() {
  std::error_code ec;
  if (!fs::exists(file_, ec)) return;
  registry::LoadRegFile(file_, store_);
}

void SettingsFile::Save() {
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  registry::SaveRegFile(file_, store_, registry::RootKey::CurrentUser, u"Software\\Velkar");
}

}  // namespace brannock::ui
