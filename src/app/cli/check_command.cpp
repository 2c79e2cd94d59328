#include "app/cli/check_command.h"

#include "analysis/com_permissions.h"
#include "analysis/machine_files.h"
#include "analysis/registration_check.h"
#include "app/cli/print_line.h"
#include "app/cli/show_command.h"
#include "app/cli/source_loader.h"
#include "catalogue/catalogue_paths.h"
#include "platform/files.h"
#include "platform/sddl.h"
#include "registry/registry_reader.h"
#include "registry/viewed_registry.h"
#include "typelib/loader.h"

namespace brannock::cli {

int RunCheckCommand(const CheckRequest& request, registry::RegistrySource& source, registry::RegistryView view,
                    std::FILE* out) {
  registry::ViewedRegistry viewed(*source.backend, view);
  Catalogue catalogue(viewed);
  catalogue.CaptureEnvironment();
  const TextList drives = DriveTexts(request.drives);
  analysis::MachineFiles files =
      analysis::MachineFiles::ForSource(source, drives, registry::SeesWow64Files(*source.backend, view));
  std::unique_ptr<typelib::TypeLibLoader> loader;
  if (request.libraries) loader = SourceLoader(&source, request.drives, view);
  const analysis::Findings findings = analysis::CheckRegistrations(
      catalogue, *source.backend, view, files, analysis::CheckOptions{request.libraries}, loader.get());
  platform::UseBinaryStandardOutput();
  if (request.format == CheckFormat::Csv) PrintLine(analysis::FindingCsvHeader(), out);
  for (const analysis::Finding& f : findings)
    PrintLine(request.format == CheckFormat::Csv ? analysis::FindingCsvLine(f) : analysis::FindingLine(f), out);
  std::fflush(out);
  return analysis::CheckExitStatus(findings) == 0 ? 0 : kExitFindings;
}

size_t ShowSecurity(Catalogue& catalogue, registry::RegistryBackend& store, TextView wanted, std::FILE* out) {
  size_t shown = 0;
  for (TObjectType typ : {TObjectType::otCLSID, TObjectType::otAppID}) {
    catalogue.ReadList(typ);
    for (const TObjectData& rec : catalogue.List(typ)) {
      if (!ShowMatches(wanted, rec.GUID, rec.Name)) continue;
      const analysis::ObjectSecurity security = analysis::SecurityOf(rec, catalogue.Backend(), store);
      if (!security.applies) continue;
      PrintLine(u"Name: " + rec.Name, out);
      PrintLine(u"GUID: " + rec.GUID, out);
      PrintLine(Text(80, u'-'), out);
      for (const Text& line : analysis::SecurityLines(security)) PrintLine(line, out);
      ++shown;
    }
  }
  return shown;
}

namespace {

void DumpValue(registry::RegistryReader reader, const Text& keyText, TextView key, TextView value, std::string& out) {
  if (!reader.OpenKeyReadOnly(key)) return;
  uint32_t type = 0;
  registry::Bytes data;
  if (!reader.GetData(value, &type, &data)) return;
  const platform::DescriptorText text = platform::DescribeSecurityDescriptor(data);
  out += Utf16ToUtf8(keyText + u" " + Text(value) + u": " + (text.problem.empty() ? text.sddl : u"! " + text.problem));
  out += "\n";
}

}  // namespace

std::string DumpSecurityValues(registry::RegistryBackend& classes, registry::RegistryBackend& store) {
  std::string out;
  TextList appIds;
  auto reader = registry::RegistryReader::ProcessView(classes);
  if (reader.OpenKeyReadOnly(u"AppID")) reader.GetKeyNames(appIds);
  for (const Text& appId : appIds) {
    const Text key = KeyPath(u"AppID", appId);
    for (TextView value : {u"LaunchPermission", u"AccessPermission"})
      DumpValue(registry::RegistryReader::ProcessView(classes), u"HKEY_CLASSES_ROOT\\" + key, key, value, out);
  }
  for (TextView value : {u"DefaultLaunchPermission", u"DefaultAccessPermission", u"MachineLaunchRestriction",
                         u"MachineAccessRestriction"}) {
    DumpValue(registry::RegistryReader(store, registry::RootKey::LocalMachine,
                                       registry::Access::KeyRead | registry::Access::Wow64_64Key),
              u"HKEY_LOCAL_MACHINE\\" + Text(analysis::kOleKey), analysis::kOleKey, value, out);
  }
  return out;
}

}  // namespace brannock::cli
