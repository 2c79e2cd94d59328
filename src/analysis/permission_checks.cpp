// The check of COM's permission values: each AppID's LaunchPermission and
// AccessPermission, and the machine's defaults and limits, must be binary
// security descriptors that read; COM cannot use a damaged one.
#include "analysis/check_context.h"
#include "analysis/com_permissions.h"
#include "catalogue/catalogue_paths.h"
#include "platform/security_descriptor.h"
#include "registry/registry_reader.h"

namespace brannock::analysis::check {

namespace {

// The problem with a permission value; empty when it reads or is missing.
Text ValueProblem(registry::RegistryReader reader, TextView key, TextView value) {
  if (!reader.OpenKeyReadOnly(key)) return {};
  uint32_t type = 0;
  registry::Bytes data;
  if (!reader.GetData(value, &type, &data)) return {};
  if (type != registry::RegType::Binary) return u"not binary data (type " + UIntToText(type) + u")";
  const platform::SecurityDescriptorReading r = platform::ReadSecurityDescriptor(data);
  if (r.descriptor || r.fault.kind != platform::DescriptorFault::Kind::Damaged) return {};
  return r.fault.Line();
}

}  // namespace

void CheckPermissionValues(Context& c) {
  for (const TObjectData& rec : c.catalogue.AIList) {
    const Text key = KeyPath(u"AppID", rec.GUID);
    for (TextView value : {u"LaunchPermission", u"AccessPermission"}) {
      const Text problem = ValueProblem(registry::RegistryReader::ProcessView(c.classes), key, value);
      if (!problem.empty())
        c.Add(Severity::Error, FindingKind::AppID, rec.Name, rec.GUID, Context::ClassesKey(key),
              Text(value) + u": " + problem, TObjectType::otAppID);
    }
  }
  if (!c.machineKnown) return;
  for (TextView value : {u"DefaultLaunchPermission", u"DefaultAccessPermission", u"MachineLaunchRestriction",
                         u"MachineAccessRestriction"}) {
    registry::RegistryReader reader(c.store, RootKey::LocalMachine,
                                    registry::Access::KeyRead | registry::Access::Wow64_64Key);
    const Text problem = ValueProblem(std::move(reader), kOleKey, value);
    if (!problem.empty())
      c.Add(Severity::Error, FindingKind::Machine, u"", u"", u"HKEY_LOCAL_MACHINE\\" + Text(kOleKey),
            Text(value) + u": " + problem);
  }
}

}  // namespace brannock::analysis::check
