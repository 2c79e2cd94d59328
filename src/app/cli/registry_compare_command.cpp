#include "app/cli/registry_compare_command.h"

#include "analysis/comparison_text.h"
#include "app/startup/option_table.h"
#include "registry/registry_snapshot.h"

namespace brannock::cli {

void RunSnapshotCommand(const std::filesystem::path& file, const registry::RegistrySource& source) {
  registry::SaveSnapshot(file, source);
}

int RunCompareCommand(const std::filesystem::path& before, registry::RegistrySource& now,
                      registry::RegistryView view, CompareFormat format, std::FILE* out) {
  registry::RegistrySource earlier = registry::OpenRegistryPath(before);
  const analysis::RegistryComparison result = analysis::CompareInView(*earlier.backend, *now.backend, view);
  const std::string text = Utf16ToUtf8(format == CompareFormat::Csv ? analysis::ComparisonCsv(result)
                                                                      : analysis::ComparisonReport(result));
  std::fwrite(text.data(), 1, text.size(), out);
  return result.Differs() ? startup::kExitOtherAnswer : startup::kExitOk;
}

}  // namespace brannock::cli
