// The batch mode: the switches SA, SI, SO and ST write the list files of
// application IDs, interfaces, object classes and type libraries without any
// window.
#pragma once

#include <filesystem>
#include <vector>

#include "catalogue/catalogue.h"

namespace brannock {

struct BatchSwitches {
  bool SA = false, SI = false, SO = false, ST = false;
  bool Any() const;
};

// A switch is present when a parameter (after the program name) is "-" or
// "/" followed by exactly its two letters, in any letter case.
BatchSwitches FindBatchSwitches(const std::vector<Text>& params);

// For SA, SI, SO and ST in this order, when present: reads the list anew and
// writes it into `dir` as AppIds.csv, Intfs.csv, ObjClasses.csv and
// TypeLibs.csv, and empties that list of the catalogue again, so that a run
// holds one list at a time (the programs end after a batch, and commands
// read the lists they need themselves). An error stops the processing there
// and propagates; files already written stay.
void RunBatch(Catalogue& catalogue, const BatchSwitches& switches, const std::filesystem::path& dir);

}  // namespace brannock
