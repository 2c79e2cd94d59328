#include "app/startup/opening.h"

namespace brannock::startup {

Opening::Opening(Program program, const std::vector<std::string>& args) {
  ParseArguments(program, args, options_, usageError_);
}

void Opening::OpenSource() { source_ = registry::OpenRegistrySource(options_.RegistryPath()); }

void Opening::OpenView() {
  const registry::RegistryView view = options_.View().value_or(registry::DefaultView(*source_.backend));
  registry::RequireView(*source_.backend, view);
  viewed_ = std::make_unique<registry::ViewedRegistry>(*source_.backend, view);
  catalogue_ = std::make_unique<Catalogue>(*viewed_);
}

bool Opening::RunBatch(const std::filesystem::path& dir) {
  if (!options_.switches.Any()) return false;
  brannock::RunBatch(*catalogue_, options_.switches, dir);
  return true;
}

}  // namespace brannock::startup
