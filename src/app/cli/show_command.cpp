#include "app/cli/show_command.h"

#include "ui/logic/object_pane.h"
#include "ui/logic/object_tree.h"

namespace brannock::cli {

namespace {

TextView WithoutBraces(TextView s) {
  if (s.size() >= 2 && s.front() == u'{' && s.back() == u'}') return s.substr(1, s.size() - 2);
  return s;
}

// CR LF as the platform writes a line end to a text stream ("\n", which a
// Windows text stream turns into CR LF again).
std::string PlatformLines(TextView text) {
  Text lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) lines.push_back(text[i]);
  return Utf16ToUtf8(lines);
}

}  // namespace

bool ShowMatches(TextView wanted, TextView guid, TextView name) {
  if (!name.empty() && name == wanted) return true;
  const TextView g = WithoutBraces(guid);
  return !g.empty() && EqualsNoCase(g, WithoutBraces(wanted));
}

size_t ShowObjects(Catalogue& catalogue, TextView wanted, std::FILE* out) {
  size_t shown = 0;
  for (const ui::RootInfo& root : ui::kRoots) {
    catalogue.ReadList(root.typ);
    const TObjects& list = catalogue.List(root.typ);
    for (size_t i = 0; i < list.size(); ++i) {
      if (!ShowMatches(wanted, list[i].GUID, list[i].Name)) continue;
      ui::TObjectNode node{list[i].Name, root.typ, static_cast<int32_t>(i), {}};
      // The window's pane: hexadecimal binary values, as the menu starts.
      const auto pane = ui::BuildObjectPane(catalogue, node, true, false);
      if (!pane) continue;
      const std::string text = PlatformLines(ui::CopySummaryText(pane->name, pane->guid, pane->lines));
      std::fwrite(text.data(), 1, text.size(), out);
      ++shown;
      if (pane->error) std::rethrow_exception(pane->error);
    }
  }
  return shown;
}

}  // namespace brannock::cli
