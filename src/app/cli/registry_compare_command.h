// The snapshot and comparison commands of brannock-cli:
//   --snapshot FILE                  the COM part of the registry shown, as a
//                                    .reg file
//   --compare BEFORE [--format csv]  the registry shown against an earlier one
#pragma once

#include <cstdio>
#include <filesystem>

#include "registry/registry_source.h"

namespace brannock::cli {

enum class CompareFormat { Report, Csv };

// Writes the snapshot of `source` (registry/registry_snapshot.h) to `file`,
// completely or not at all.
void RunSnapshotCommand(const std::filesystem::path& file, const registry::RegistrySource& source);

// Compares the registry at `before` (a Wine prefix folder, a .reg export or
// a hive) with `now`, both in `view`, and prints the report or the CSV lines
// (UTF-8, "\n") on `out`. Returns kExitOk when nothing differs and
// kExitOtherAnswer (app/startup/option_table.h) when something does. Raises
// when `before` cannot be read or lacks the view.
int RunCompareCommand(const std::filesystem::path& before, registry::RegistrySource& now,
                      registry::RegistryView view, CompareFormat format, std::FILE* out);

}  // namespace brannock::cli
