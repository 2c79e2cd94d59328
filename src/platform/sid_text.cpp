#include "platform/sid_text.h"

#include <algorithm>
#include <initializer_list>

namespace brannock::platform {

namespace {

struct WellKnownSid {
  uint64_t authority;
  std::initializer_list<uint32_t> subAuthorities;
  const char16_t* alias;  // empty where SDDL has none
  const char16_t* name;
};

// The SIDs that are the same on every machine, with the SDDL aliases of
// the Windows SDK's sddl.h and the names Windows gives them in English.
constexpr uint32_t kBuiltin = 32;
const WellKnownSid kWellKnown[] = {
    {0, {0}, u"", u"NULL SID"},
    {1, {0}, u"WD", u"Everyone"},
    {2, {0}, u"", u"LOCAL"},
    {2, {1}, u"", u"CONSOLE LOGON"},
    {3, {0}, u"CO", u"CREATOR OWNER"},
    {3, {1}, u"CG", u"CREATOR GROUP"},
    {3, {4}, u"OW", u"OWNER RIGHTS"},
    {5, {1}, u"", u"DIALUP"},
    {5, {2}, u"NU", u"NETWORK"},
    {5, {3}, u"", u"BATCH"},
    {5, {4}, u"IU", u"INTERACTIVE"},
    {5, {6}, u"SU", u"SERVICE"},
    {5, {7}, u"AN", u"ANONYMOUS LOGON"},
    {5, {8}, u"", u"PROXY"},
    {5, {9}, u"ED", u"ENTERPRISE DOMAIN CONTROLLERS"},
    {5, {10}, u"PS", u"SELF"},
    {5, {11}, u"AU", u"Authenticated Users"},
    {5, {12}, u"RC", u"RESTRICTED"},
    {5, {13}, u"", u"TERMINAL SERVER USER"},
    {5, {14}, u"", u"REMOTE INTERACTIVE LOGON"},
    {5, {15}, u"", u"This Organization"},
    {5, {17}, u"", u"IUSR"},
    {5, {18}, u"SY", u"SYSTEM"},
    {5, {19}, u"LS", u"LOCAL SERVICE"},
    {5, {20}, u"NS", u"NETWORK SERVICE"},
    {5, {33}, u"WR", u"WRITE RESTRICTED"},
    {5, {113}, u"", u"Local account"},
    {5, {114}, u"", u"Local account and member of Administrators group"},
    {5, {84, 0, 0, 0, 0, 0}, u"UD", u"USER MODE DRIVERS"},
    {5, {kBuiltin, 544}, u"BA", u"Administrators"},
    {5, {kBuiltin, 545}, u"BU", u"Users"},
    {5, {kBuiltin, 546}, u"BG", u"Guests"},
    {5, {kBuiltin, 547}, u"PU", u"Power Users"},
    {5, {kBuiltin, 548}, u"AO", u"Account Operators"},
    {5, {kBuiltin, 549}, u"SO", u"Server Operators"},
    {5, {kBuiltin, 550}, u"PO", u"Print Operators"},
    {5, {kBuiltin, 551}, u"BO", u"Backup Operators"},
    {5, {kBuiltin, 552}, u"RE", u"Replicator"},
    {5, {kBuiltin, 554}, u"RU", u"Pre-Windows 2000 Compatible Access"},
    {5, {kBuiltin, 555}, u"RD", u"Remote Desktop Users"},
    {5, {kBuiltin, 556}, u"NO", u"Network Configuration Operators"},
    {5, {kBuiltin, 558}, u"MU", u"Performance Monitor Users"},
    {5, {kBuiltin, 559}, u"LU", u"Performance Log Users"},
    {5, {kBuiltin, 562}, u"", u"Distributed COM Users"},
    {5, {kBuiltin, 568}, u"IS", u"IIS_IUSRS"},
    {5, {kBuiltin, 569}, u"CY", u"Cryptographic Operators"},
    {5, {kBuiltin, 573}, u"ER", u"Event Log Readers"},
    {5, {kBuiltin, 574}, u"CD", u"Certificate Service DCOM Access"},
    {5, {kBuiltin, 575}, u"RA", u"RDS Remote Access Servers"},
    {5, {kBuiltin, 576}, u"ES", u"RDS Endpoint Servers"},
    {5, {kBuiltin, 577}, u"MS", u"RDS Management Servers"},
    {5, {kBuiltin, 578}, u"HA", u"Hyper-V Administrators"},
    {5, {kBuiltin, 579}, u"AA", u"Access Control Assistance Operators"},
    {5, {kBuiltin, 580}, u"RM", u"Remote Management Users"},
    {15, {2, 1}, u"AC", u"ALL APPLICATION PACKAGES"},
    {15, {2, 2}, u"", u"ALL RESTRICTED APPLICATION PACKAGES"},
    {16, {0}, u"", u"Untrusted Mandatory Level"},
    {16, {4096}, u"LW", u"Low Mandatory Level"},
    {16, {8192}, u"ME", u"Medium Mandatory Level"},
    {16, {8448}, u"MP", u"Medium Plus Mandatory Level"},
    {16, {12288}, u"HI", u"High Mandatory Level"},
    {16, {16384}, u"SI", u"System Mandatory Level"},
    {18, {1}, u"", u"Authentication authority asserted identity"},
    {18, {2}, u"SS", u"Service asserted identity"},
};

// The accounts and groups every machine or domain has under its own
// S-1-5-21-A-B-C prefix, by their last number.
struct DomainRelative {
  uint32_t rid;
  const char16_t* name;
};
const DomainRelative kDomainRelative[] = {
    {500, u"Administrator"},   {501, u"Guest"},           {512, u"Domain Admins"},
    {513, u"Domain Users"},    {514, u"Domain Guests"},   {515, u"Domain Computers"},
    {516, u"Domain Controllers"}, {517, u"Cert Publishers"}, {518, u"Schema Admins"},
    {519, u"Enterprise Admins"}, {520, u"Group Policy Creator Owners"},
};

const WellKnownSid* FindWellKnown(const Sid& sid) {
  if (sid.revision != 1) return nullptr;
  for (const WellKnownSid& w : kWellKnown) {
    if (w.authority != sid.authority || w.subAuthorities.size() != sid.subAuthorities.size()) continue;
    if (std::equal(w.subAuthorities.begin(), w.subAuthorities.end(), sid.subAuthorities.begin())) return &w;
  }
  return nullptr;
}

}  // namespace

Text SidString(const Sid& sid) {
  Text out = u"S-" + UIntToText(sid.revision) + u"-";
  if (sid.authority < (uint64_t{1} << 32)) {
    out += UIntToText(sid.authority);
  } else {
    const Text digits = LowerAscii(HexUpper(sid.authority));
    out += u"0x" + Text(12 - digits.size(), u'0') + digits;
  }
  for (uint32_t s : sid.subAuthorities) out += u"-" + UIntToText(s);
  return out;
}

Text SidSddl(const Sid& sid) {
  const WellKnownSid* w = FindWellKnown(sid);
  return w != nullptr && w->alias[0] != u'\0' ? Text(w->alias) : SidString(sid);
}

Text SidName(const Sid& sid) {
  if (const WellKnownSid* w = FindWellKnown(sid)) return w->name;
  // S-1-5-21-A-B-C-RID: an account or group of one machine or domain.
  if (sid.revision == 1 && sid.authority == 5 && sid.subAuthorities.size() == 5 && sid.subAuthorities[0] == 21) {
    for (const DomainRelative& d : kDomainRelative)
      if (d.rid == sid.subAuthorities[4]) return d.name;
  }
  return {};
}

Text SidTrustee(const Sid& sid) {
  const Text name = SidName(sid);
  return name.empty() ? SidString(sid) : name + u" (" + SidString(sid) + u")";
}

}  // namespace brannock::platform
