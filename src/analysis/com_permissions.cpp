#include "analysis/com_permissions.h"

#include <tuple>

#include "analysis/source_parts.h"
#include "catalogue/catalogue_paths.h"
#include "platform/sddl.h"
#include "platform/sddl_text.h"
#include "platform/sid_text.h"
#include "registry/registry_reader.h"

namespace brannock::analysis {

namespace AceType = platform::AceType;
using registry::RegistryReader;
using registry::RootKey;

namespace {

constexpr uint32_t kExecute = 0x1;

struct NamedRight {
  uint32_t bit;
  const char16_t* launch;
  const char16_t* access;
};
const NamedRight kRights[] = {{0x2, u"Local Launch", u"Local Access"},
                              {0x4, u"Remote Launch", u"Remote Access"},
                              {0x8, u"Local Activation", nullptr},
                              {0x10, u"Remote Activation", nullptr}};

Text Joined(const TextList& parts) {
  Text out;
  for (const Text& p : parts) out += (out.empty() ? u"" : u", ") + p;
  return out;
}

Text AceLine(const platform::Ace& ace, PermissionKind kind) {
  Text verb;
  if (ace.type == AceType::AccessAllowed) {
    verb = u"Allow";
  } else if (ace.type == AceType::AccessDenied) {
    verb = u"Deny";
  } else {
    // Entries COM does not use for its decisions, in SDDL's own terms.
    return platform::SddlAceType(ace.type) + u" entry for " + platform::SidTrustee(ace.sid) + u": " +
           (ace.mask == 0 ? Text(u"no rights") : platform::SddlRights(ace.type, ace.mask));
  }
  return verb + u" " + platform::SidTrustee(ace.sid) + u": " + ComRightsText(kind, ace.mask);
}

TextList AclLines(const std::optional<platform::PresentAcl>& present, const char16_t* name, PermissionKind kind) {
  if (!present) return {};
  if (!present->acl) return {Text(name) + u": none (a null ACL): no access control, everyone is allowed everything"};
  if (present->acl->aces.empty()) return {Text(name) + u": no entries: nobody is allowed anything"};
  TextList lines;
  for (const platform::Ace& ace : present->acl->aces) lines.push_back(AceLine(ace, kind));
  return lines;
}

}  // namespace

Text ComRightsText(PermissionKind kind, uint32_t mask) {
  if (mask == 0) return u"no rights";
  if (mask == kExecute)
    return kind == PermissionKind::Launch
               ? u"Execute (the older form: Local and Remote Launch and Activation)"
               : u"Execute (the older form: Local and Remote Access)";
  TextList parts;
  uint32_t other = mask & ~kExecute;
  for (const NamedRight& r : kRights) {
    const char16_t* word = kind == PermissionKind::Launch ? r.launch : r.access;
    if ((mask & r.bit) == 0 || word == nullptr) continue;
    parts.push_back(word);
    other &= ~r.bit;
  }
  if (other != 0) parts.push_back(u"other rights 0x" + LowerAscii(HexUpper(other)));
  Text text = Joined(parts);
  if ((mask & kExecute) == 0) text += u" (without Execute, which COM requires)";
  return text;
}

TextList DescriptorLines(const platform::SecurityDescriptor& sd, PermissionKind kind) {
  TextList lines;
  if (sd.owner) lines.push_back(u"Owner: " + platform::SidTrustee(*sd.owner));
  if (sd.group) lines.push_back(u"Group: " + platform::SidTrustee(*sd.group));
  if (!sd.dacl) lines.push_back(u"No DACL");
  for (Text& line : AclLines(sd.dacl, u"DACL", kind)) lines.push_back(std::move(line));
  for (Text& line : AclLines(sd.sacl, u"SACL", kind)) lines.push_back(std::move(line));
  return lines;
}

namespace {

// A value of the registry as a section: its SDDL and lines, or what is
// wrong with it. False when the value does not exist.
bool ReadSection(RegistryReader reader, TextView key, TextView value, PermissionKind kind, PermissionSection& out) {
  if (!reader.OpenKeyReadOnly(key)) return false;
  uint32_t type = 0;
  registry::Bytes data;
  if (!reader.GetData(value, &type, &data)) return false;
  if (type != registry::RegType::Binary) {
    out.lines.push_back(u"The value is not binary data (type " + UIntToText(type) + u"), so not a security descriptor");
    return true;
  }
  const platform::DescriptorText text = platform::DescribeSecurityDescriptor(data);
  out.sddl = text.sddl;
  if (!text.problem.empty()) out.lines.push_back(text.problem);
  if (text.descriptor && text.problem.empty()) out.lines = DescriptorLines(*text.descriptor, kind);
  return true;
}

RegistryReader MachineReader(registry::RegistryBackend& store) {
  return RegistryReader(store, RootKey::LocalMachine, registry::Access::KeyRead | registry::Access::Wow64_64Key);
}

const Text kOlePath = u"HKEY_LOCAL_MACHINE\\" + Text(kOleKey);

struct SectionKind {
  PermissionKind kind;
  const char16_t* title;
  const char16_t* own;      // the AppID's value
  const char16_t* machine;  // the machine's default
};

}  // namespace

ObjectSecurity SecurityOf(const TObjectData& object, registry::RegistryBackend& classes,
                          registry::RegistryBackend& store) {
  ObjectSecurity out;
  if (object.Typ == TObjectType::otAppID) {
    out.appId = object.GUID;
    out.intro.push_back(u"AppID " + object.GUID + u" (" + object.Name + u")");
  } else if (object.Typ == TObjectType::otCLSID) {
    out.appId = TrimControls(StringValueOrEmpty(classes, RootKey::ClassesRoot, KeyPath(u"CLSID", object.GUID), u"AppID"));
    if (out.appId.empty()) return out;
    out.intro.push_back(u"The class runs in the AppID " + out.appId);
  } else {
    return out;
  }
  out.applies = true;
  const Text appKey = KeyPath(u"AppID", out.appId);
  const bool machineKnown = HoldsSoftwareKey(store, RootKey::LocalMachine);
  if (!RegistryReader::ProcessView(classes).KeyExists(appKey))
    out.intro.push_back(u"HKEY_CLASSES_ROOT\\" + appKey + u" does not exist: only the machine's settings apply");
  for (const SectionKind s : {SectionKind{PermissionKind::Launch, u"Launch and activation permissions",
                                          u"LaunchPermission", u"DefaultLaunchPermission"},
                              SectionKind{PermissionKind::Access, u"Access permissions", u"AccessPermission",
                                          u"DefaultAccessPermission"}}) {
    PermissionSection section;
    if (ReadSection(RegistryReader::ProcessView(classes), appKey, s.own, s.kind, section)) {
      section.heading = Text(s.title) + u": " + s.own + u" of HKEY_CLASSES_ROOT\\" + appKey;
    } else if (ReadSection(MachineReader(store), kOleKey, s.machine, s.kind, section)) {
      section.heading = Text(s.title) + u": the AppID has no " + s.own + u"; the machine default applies, " +
                        s.machine + u" of " + kOlePath;
    } else {
      section.heading = Text(s.title) + u": the AppID has no " + s.own;
      section.lines.push_back(machineKnown ? u"The machine has no " + Text(s.machine) + u" either: COM's built-in default applies"
                                           : u"The machine's " + Text(s.machine) + u" is not known: the source has no " + kOlePath);
    }
    out.sections.push_back(std::move(section));
  }
  for (const auto& [kind, title, value] :
       {std::tuple{PermissionKind::Launch, u"Machine launch and activation limits", u"MachineLaunchRestriction"},
        std::tuple{PermissionKind::Access, u"Machine access limits", u"MachineAccessRestriction"}}) {
    PermissionSection section;
    section.heading = Text(title) + u": " + value + u" of " + kOlePath;
    if (!ReadSection(MachineReader(store), kOleKey, value, kind, section))
      section.lines.push_back(machineKnown ? Text(u"Not set") : u"Not known: the source has no " + kOlePath);
    out.sections.push_back(std::move(section));
  }
  return out;
}

TextList SecurityLines(const ObjectSecurity& security) {
  TextList lines = security.intro;
  for (const PermissionSection& s : security.sections) {
    lines.push_back(s.heading);
    if (!s.sddl.empty()) lines.push_back(u"   " + s.sddl);
    for (const Text& line : s.lines) lines.push_back(u"   " + line);
  }
  return lines;
}

}  // namespace brannock::analysis
