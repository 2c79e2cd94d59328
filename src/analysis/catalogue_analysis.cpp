#include "analysis/catalogue_analysis.h"

namespace brannock::analysis {

const RegistrationIndex& CatalogueAnalysis::Index() {
  if (!index_) index_ = std::make_unique<RegistrationIndex>(catalogue_);
  return *index_;
}

const ObjectFinder& CatalogueAnalysis::Finder() {
  if (!finder_) finder_ = std::make_unique<ObjectFinder>(Index());
  return *finder_;
}

LibraryScan& CatalogueAnalysis::Libraries() {
  if (!libraries_) libraries_ = std::make_unique<LibraryScan>(Index());
  return *libraries_;
}

References CatalogueAnalysis::ReferencesOf(TObjectType typ, uint32_t entry) {
  return FindReferences(Index(), catalogue_.Backend(), libraries_.get(), typ, entry);
}

void CatalogueAnalysis::Forget() {
  // The finder and the scan refer to the index: they go first.
  finder_.reset();
  libraries_.reset();
  index_.reset();
}

}  // namespace brannock::analysis
