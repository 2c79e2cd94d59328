// The questions across one catalogue, answered from what is built when
// first asked and kept until the catalogue is read anew: the index of its
// objects, Find over it, and the scan of the registered type libraries.
#pragma once

#include <memory>

#include "analysis/library_scan.h"
#include "analysis/object_finder.h"
#include "analysis/references.h"
#include "analysis/registration_index.h"

namespace brannock::analysis {

class CatalogueAnalysis {
 public:
  explicit CatalogueAnalysis(Catalogue& catalogue) : catalogue_(catalogue) {}

  // Built on first use (reading the catalogue's lists that are still empty).
  const RegistrationIndex& Index();
  const ObjectFinder& Finder();
  // Created on first use, with nothing read yet.
  LibraryScan& Libraries();
  bool HasIndex() const { return index_ != nullptr; }

  // The references of an object; the libraries as far as they were read.
  References ReferencesOf(TObjectType typ, uint32_t entry);

  // Drops everything: the catalogue was read anew (Refresh, another view).
  void Forget();

 private:
  Catalogue& catalogue_;
  std::unique_ptr<RegistrationIndex> index_;
  std::unique_ptr<ObjectFinder> finder_;
  std::unique_ptr<LibraryScan> libraries_;
};

}  // namespace brannock::analysis
