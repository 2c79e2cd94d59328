#include "catalogue/batch_mode.h"

#include "catalogue/list_file.h"

namespace brannock {

bool BatchSwitches::Any() const { return SA || SI || SO || ST; }

namespace {

bool IsSwitch(const Text& param, TextView letters) {
  return param.size() == letters.size() + 1 && (param[0] == u'-' || param[0] == u'/') &&
         EqualsNoCase(TextView(param).substr(1), letters);
}

}  // namespace

BatchSwitches FindBatchSwitches(const std::vector<Text>& params) {
  BatchSwitches found;
  for (const Text& p : params) {
    found.SA = found.SA || IsSwitch(p, u"SA");
    found.SI = found.SI || IsSwitch(p, u"SI");
    found.SO = found.SO || IsSwitch(p, u"SO");
    found.ST = found.ST || IsSwitch(p, u"ST");
  }
  return found;
}

void RunBatch(Catalogue& catalogue, const BatchSwitches& switches, const std::filesystem::path& dir) {
  struct Step {
    bool present;
    TObjectType kind;
    const char* fileName;
  };
  const Step steps[] = {
      {switches.SA, TObjectType::otAppID, "AppIds.csv"},
      {switches.SI, TObjectType::otInterface, "Intfs.csv"},
      {switches.SO, TObjectType::otCLSID, "ObjClasses.csv"},
      {switches.ST, TObjectType::otTypeLib, "TypeLibs.csv"},
  };
  for (const Step& step : steps) {
    if (!step.present) continue;
    // The records go straight to the file as the builder makes them: no
    // list is held. The catalogue's list is emptied as its builder would,
    // and stays so, so that a window later reads it anew.
    TObjects().swap(catalogue.List(step.kind));
    ListFileWriter writer(dir / step.fileName);
    catalogue.ReadRecords(step.kind, writer);
    writer.Commit();
  }
}

}  // namespace brannock
