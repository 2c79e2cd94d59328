// The registration check and the permissions of brannock-cli:
//   --check [--libraries] [--format csv]   the findings of the registry shown
//   --security TEXT                        who may launch and access the objects
//                                          with that GUID or name
// and the Wine stage's helper --dump-security FILE, which writes every
// permission value of the registry with its SDDL.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "app/startup/option_table.h"
#include "catalogue/catalogue.h"
#include "registry/registry_source.h"

namespace brannock::cli {

enum class CheckFormat { Lines, Csv };

// Exit status of --check when it found an error or a warning (notes alone
// give 0): the other answer of the option table's exit statuses.
inline constexpr int kExitFindings = startup::kExitOtherAnswer;

struct CheckRequest {
  bool libraries = false;           // --libraries: open every registered library
  CheckFormat format = CheckFormat::Lines;
  std::vector<std::string> drives;  // --drive LETTER=DIR, as given
};

// Checks `source` in `view` and prints one finding a line (UTF-8, "\n") on
// `out`; CSV with its header line when asked. Returns 0 or kExitFindings.
int RunCheckCommand(const CheckRequest& request, registry::RegistrySource& source, registry::RegistryView view,
                    std::FILE* out);

// --security TEXT: for each AppID, and each class with an AppID, whose GUID
// or name is TEXT (as --show selects them): the name and GUID lines, 80
// hyphens, then the Security tab's lines. The number of objects printed.
size_t ShowSecurity(Catalogue& catalogue, registry::RegistryBackend& store, TextView wanted, std::FILE* out);

// The --dump-security text: a line per permission value, each AppID's
// LaunchPermission and AccessPermission and the machine's four values
// below HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Ole: "KEY VALUE: SDDL", or
// "KEY VALUE: ! PROBLEM".
std::string DumpSecurityValues(registry::RegistryBackend& classes, registry::RegistryBackend& store);

}  // namespace brannock::cli
