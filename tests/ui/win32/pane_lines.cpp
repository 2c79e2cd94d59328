#include "pane_lines.h"

#include <sstream>

namespace brannock::testing {

std::string EscapeLine(TextView text) {
  std::string out;
  for (char c : Utf16ToUtf8(text)) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

Text UnescapeLine(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    } else {
      out += text[i];
    }
  }
  return Utf8ToUtf16(out);
}

std::string FormatPaneRecord(const PaneRecord& r) {
  std::string out = "object " + std::to_string(r.kind) + " " + EscapeLine(r.guid) + "\n";
  out += "name " + EscapeLine(r.name) + "\n";
  out += "guid " + EscapeLine(r.shownGuid) + "\n";
  out += std::string("states ") + (r.registerServer ? "1" : "0") + " " + (r.createInstance ? "1" : "0") + " " +
         (r.viewTypeLib ? "1" : "0") + "\n";
  out += std::string("hex ") + (r.hex ? "1" : "0") + "\n";
  for (const PaneLine& line : r.lines) out += "line " + std::to_string(line.level) + " " + EscapeLine(line.text) + "\n";
  if (!r.error.empty()) out += "error " + EscapeLine(r.error) + "\n";
  return out + "end\n";
}

bool ParsePaneRecords(const std::string& text, std::vector<PaneRecord>* records) {
  std::istringstream in(text);
  std::string line;
  PaneRecord current;
  bool open = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t blank = line.find(' ');
    const std::string word = line.substr(0, blank);
    const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (word == "object") {
      if (open) return false;
      current = PaneRecord();
      open = true;
      const size_t b = rest.find(' ');
      if (b == std::string::npos) return false;
      current.kind = std::stoi(rest.substr(0, b));
      current.guid = UnescapeLine(rest.substr(b + 1));
    } else if (!open) {
      return false;
    } else if (word == "name") {
      current.name = UnescapeLine(rest);
    } else if (word == "guid") {
      current.shownGuid = UnescapeLine(rest);
    } else if (word == "states") {
      if (rest.size() != 5) return false;
      current.registerServer = rest[0] == '1';
      current.createInstance = rest[2] == '1';
      current.viewTypeLib = rest[4] == '1';
    } else if (word == "hex") {
      current.hex = rest == "1";
    } else if (word == "line") {
      const size_t b = rest.find(' ');
      PaneLine pl;
      pl.level = std::stoi(rest.substr(0, b));
      pl.text = b == std::string::npos ? Text() : UnescapeLine(rest.substr(b + 1));
      current.lines.push_back(pl);
    } else if (word == "error") {
      current.error = UnescapeLine(rest);
    } else if (word == "end") {
      records->push_back(current);
      open = false;
    } else {
      return false;
    }
  }
  return !open;
}

}  // namespace brannock::testing
