#include "app/cli/find_command.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "analysis/catalogue_analysis.h"
#include "app/cli/print_line.h"
#include "app/cli/show_command.h"
#include "app/startup/option_table.h"
#include "catalogue/object_kinds.h"

namespace brannock::cli {

namespace {

const char16_t* KindName(TObjectType typ) { return analysis::TargetKindName(analysis::TargetKindOf(typ)); }

}  // namespace

Text FindLine(const analysis::RegistrationIndex& index, const analysis::FoundObject& found) {
  return Text(KindName(found.typ)) + u";" + index.Name(found.typ, found.index) + u";" +
         index.Guid(found.typ, found.index) + u";" + analysis::FindFieldName(found.field) + u";" + found.text;
}

Text ReferenceLine(TObjectType typ, const Text& name, const Text& guid, const analysis::Reference& reference) {
  return Text(KindName(typ)) + u";" + name + u";" + guid + u";" + reference.relation + u";" +
         analysis::TargetKindName(reference.kind) + u";" + reference.name + u";" + reference.guid +
         (reference.missing ? u";missing" : u"");
}

int RunFindCommand(Catalogue& catalogue, TextView text, std::FILE* out) {
  analysis::CatalogueAnalysis analysis(catalogue);
  const analysis::FindResult found = analysis.Finder().Find(text, SIZE_MAX);
  for (const analysis::FoundObject& f : found.objects) PrintLine(FindLine(analysis.Index(), f), out);
  std::fflush(out);
  return found.objects.empty() ? startup::kExitOtherAnswer : startup::kExitOk;
}

int RunReferencesCommand(Catalogue& catalogue, typelib::TypeLibLoader* loader, const TextList& wanted,
                         std::FILE* out, std::FILE* notes) {
  analysis::CatalogueAnalysis analysis(catalogue);
  const analysis::RegistrationIndex& index = analysis.Index();
  size_t matched = 0;
  TextList noted;
  for (TObjectType typ : kTreeOrder) {
    for (uint32_t i = 0; i < index.Count(typ); ++i) {
      const auto matches = [&](const Text& w) { return ShowMatches(w, index.Guid(typ, i), index.Name(typ, i)); };
      if (std::none_of(wanted.begin(), wanted.end(), matches)) continue;
      ++matched;
      if (loader && analysis::NeedsLibraries(typ)) analysis.Libraries().ReadAll(*loader);
      const analysis::References refs = analysis.ReferencesOf(typ, i);
      for (const analysis::Reference& r : refs.lines)
        PrintLine(ReferenceLine(typ, index.Name(typ, i), index.Guid(typ, i), r), out);
      for (const Text& note : refs.notes)
        if (std::find(noted.begin(), noted.end(), note) == noted.end()) noted.push_back(note);
    }
  }
  std::fflush(out);
  for (const Text& note : noted) PrintLine(u"brannock-cli: " + note, notes);
  return matched == 0 ? startup::kExitOtherAnswer : startup::kExitOk;
}

}  // namespace brannock::cli
