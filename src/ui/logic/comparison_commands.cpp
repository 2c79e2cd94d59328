#include "ui/logic/comparison_commands.h"

#include "platform/files.h"

namespace brannock::ui {

void TComparisonCommands::cmCompareWith() {
  const Text chosen = ChooseComparisonSource();
  if (chosen.empty()) return;
  Compare(ComparisonSourceOf(platform::HostPath(chosen)));
}

void TComparisonCommands::cmEndComparison() {
  if (!comparison_) return;
  comparison_.reset();
  ShowComparison(nullptr);
}

void TComparisonCommands::CompareAgain() {
  if (comparison_) Compare(comparison_->before);
}

void TComparisonCommands::Compare(const std::filesystem::path& before) {
  BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait);
  const registry::RegistryView view = view_ ? view_->View() : registry::DefaultView(store_);
  comparison_ = CompareWith(before, store_, view);
  ShowComparison(&*comparison_);
}

}  // namespace brannock::ui
