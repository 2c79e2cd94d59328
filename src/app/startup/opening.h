// The opening that the three programs share, in this order: the arguments
// (by the option table), the registry source (--registry, else the default
// choice: the live registry on Windows), the view (--view, else the
// source's own), the catalogue over that view, and the batch switches.
// Each program reports what fails its own way: brannock-cli on standard
// error with exit status 2 or 1, the windows on standard error or in a box,
// and after a failed batch in the window that opens anyway.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/startup/arguments.h"
#include "catalogue/catalogue.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"

namespace brannock::startup {

class Opening {
 public:
  // 1. The arguments: UsageError() says what does not fit the table.
  Opening(Program program, const std::vector<std::string>& args);

  const std::string& UsageError() const { return usageError_; }
  const ParsedOptions& Options() const { return options_; }

  // 2. The source. Raises what opening it raises (RegistryParseError).
  void OpenSource();
  // 3-4. The view and the catalogue over it. Raises RequireView's error
  // for a view asked for that the source lacks.
  void OpenView();

  registry::RegistrySource& Source() { return source_; }
  registry::ViewedRegistry& Viewed() { return *viewed_; }
  Catalogue& Objects() { return *catalogue_; }

  // 5. The batch switches, when any was given: the list files into `dir`.
  // False when none was given. Raises what the batch raises; the files
  // written before stay.
  bool RunBatch(const std::filesystem::path& dir);

 private:
  ParsedOptions options_;
  std::string usageError_;
  registry::RegistrySource source_;
  std::unique_ptr<registry::ViewedRegistry> viewed_;
  std::unique_ptr<Catalogue> catalogue_;
};

}  // namespace brannock::startup
