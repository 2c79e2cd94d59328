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
// TypeLibs.csv, each record written as it is read, so that a run holds no
// whole list (the catalogue's lists are left empty). An error stops the
// processing there and propagates; files already written stay, the file
// being written is not created (or keeps its old content).
void RunBatch(Catalogue& catalogue, const BatchSwitches& switches, const std::filesystem::path& dir);

}  // namespace brannock
