#include "registry/wine_reg_parser.h"

#include <memory>

#include "platform/files.h"
#include "registry/classes_root.h"
#include "registry/file_bytes.h"
#include "registry/input_limits.h"
#include "registry/key_path_cache.h"
#include "registry/reg_file_parser.h"
#include "registry/registry_parse_error.h"
#include "registry/text_scan.h"

namespace brannock::registry {

namespace {

using View = std::string_view;

constexpr View kHeader = "WINE REGISTRY Version 2";

class WineRegParser {
 public:
  WineRegParser(scan::LineReader<char> lines, TextView source, WineHive hive, MemoryStore& store)
      : lines_(std::move(lines)), source_(source), hive_(hive), store_(store), cache_(store) {}

  void Run() {
    View line;
    if (!lines_.Next(line) || scan::TrimBlanks(line) != kHeader) Fail("missing header \"WINE REGISTRY Version 2\"");
    while (lines_.Next(line)) {
      size_t i = 0;
      while (i < line.size() && scan::IsBlankChar(line[i])) ++i;
      const View t = line.substr(i);
      if (t.empty()) continue;
      if (t[0] == '#') {  // #time=, #class=, #link; #arch= before the first key
        if (key_ == nullptr) ArchLine(t);
        continue;
      }
      try {
        if (t[0] == ';') HeaderComment(t);
        else if (t[0] == '[') KeyLine(t);
        else if (t[0] == '@' || t[0] == '"') ValueLine(t);
        else Fail("unexpected text " + scan::Quote(t));
      } catch (const InputLimitExceeded& e) {
        Fail(e.what());
      }
    }
  }

 private:
  [[noreturn]] void Fail(std::string_view what) const {
    throw RegistryParseError::At(source_, lines_.LineNumber(), what);
  }

  // "#arch=win32" in the machine's file: a prefix of 32-bit Windows, whose
  // registry has the 32-bit view only ("#arch=win64" has both).
  void ArchLine(View t) {
    if (hive_ == WineHive::Machine && scan::TrimBlanks(t) == "#arch=win32")
      store_.SetMachineView(RegistryView::Bits32);
  }

  void HeaderComment(View t) {
    if (!scan::StartsWithNoCase(t, ";; All keys relative to ")) return;
    if (t.find("\\\\User") != View::npos) hive_ = WineHive::User;
    else if (t.find("\\\\Machine") != View::npos) hive_ = WineHive::Machine;
  }

  // Reads escaped text from t[i] up to an unescaped `end`; i ends after it.
  bool ReadEscaped(View t, size_t& i, char end, Text& out) {
    out.clear();
    const size_t n = t.size();
    while (i < n) {
      const auto c = static_cast<unsigned char>(t[i]);
      if (c == static_cast<unsigned char>(end)) {
        ++i;
        return true;
      }
      if (c == '\\') {
        if (++i >= n) return false;
        out.push_back(Unescape(t, i));
      } else if (c < 0x80) {
        out.push_back(c);
        ++i;
      } else {
        size_t j = i;
        while (j < n && static_cast<unsigned char>(t[j]) >= 0x80) ++j;
        scan::AppendText(out, t.substr(i, j - i), scan::Encoding::Utf8);
        i = j;
      }
    }
    return false;
  }

  // The character of the escape at t[i] (just after the backslash); i ends
  // after it.
  static char16_t Unescape(View t, size_t& i) {
    const char c = t[i++];
    switch (c) {
      case 'a': return 7;
      case 'b': return 8;
      case 'e': return 27;
      case 'f': return 12;
      case 'n': return 10;
      case 'r': return 13;
      case 't': return 9;
      case 'v': return 11;
      case 'x': {
        uint32_t v = 0;
        size_t k = 0;
        for (; k < 4 && i < t.size() && scan::HexDigit(t[i]) >= 0; ++k, ++i) v = v * 16 + scan::HexDigit(t[i]);
        return k == 0 ? u'x' : static_cast<char16_t>(v);
      }
      default:
        break;
    }
    if (c >= '0' && c <= '7') {
      uint32_t v = static_cast<uint32_t>(c - '0');
      for (size_t k = 1; k < 3 && i < t.size() && t[i] >= '0' && t[i] <= '7'; ++k, ++i) v = v * 8 + (t[i] - '0');
      return static_cast<char16_t>(v);
    }
    if (static_cast<unsigned char>(c) >= 0x80) {
      // An escaped non-ASCII byte: keep the byte as Latin-1.
      return static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return static_cast<char16_t>(c);
  }

  void KeyLine(View t) {
    size_t i = 1;
    if (!ReadEscaped(t, i, ']', path_)) Fail("missing \"]\" at the end of the key line");
    // The rest is the key's time stamp (seconds since 1970).
    const View stamp = scan::TrimBlanks(t.substr(i));
    for (char c : stamp)
      if (c < '0' || c > '9') Fail("unexpected text after the key " + scan::Quote(stamp));
    key_ = cache_.Open(hive_ == WineHive::Machine ? RootKey::LocalMachine : RootKey::CurrentUser, path_);
    if (key_ == nullptr) Fail("empty key name in " + scan::Quote(t));
  }

  void ValueLine(View t) {
    size_t i = 1;
    if (t[0] == '@') name_.clear();
    else if (!ReadEscaped(t, i, '"', name_)) Fail("unterminated string");
    if (i >= t.size() || t[i] != '=') Fail("missing \"=\" after the value name");
    ++i;
    if (key_ == nullptr) Fail("value outside of a key");
    const View data = t.substr(i);
    uint32_t type = RegType::Sz;
    View rest;
    if (!data.empty() && data[0] == '"') {
      rest = data.substr(1);
      ReadString(rest, type);
      return;
    }
    if (scan::StartsWithNoCase(data, "str(")) {
      const size_t close = data.find(')');
      if (close == View::npos || close + 2 >= data.size() || data[close + 1] != ':' || data[close + 2] != '"' ||
          !scan::ReadDword(data.substr(4, close - 4), type))
        Fail("unknown value type " + scan::Quote(data));
      ReadString(data.substr(close + 3), type);
      return;
    }
    if (scan::StartsWithNoCase(data, "dword:")) {
      uint32_t v = 0;
      if (!scan::ReadDword(data.substr(6), v)) Fail("invalid dword value " + scan::Quote(data.substr(6)));
      SetValueWithinLimits(*key_, name_, RegType::Dword, scan::DwordBytes(v));
      return;
    }
    type = RegType::Binary;
    if (scan::StartsWithNoCase(data, "hex:")) {
      rest = data.substr(4);
    } else if (scan::StartsWithNoCase(data, "hex(")) {
      const size_t close = data.find(')');
      if (close == View::npos || close + 1 >= data.size() || data[close + 1] != ':' ||
          !scan::ReadDword(data.substr(4, close - 4), type))
        Fail("unknown value type " + scan::Quote(data));
      rest = data.substr(close + 2);
    } else {
      Fail(data.empty() ? std::string("missing value data") : "unknown value type " + scan::Quote(data));
    }
    Bytes bytes;
    const std::string error = scan::ReadHexBytes(rest, lines_, bytes);
    if (!error.empty()) Fail(error);
    SetValueWithinLimits(*key_, name_, type, std::move(bytes));
  }

  // `rest` follows the opening quote.
  void ReadString(View rest, uint32_t type) {
    size_t j = 0;
    if (!ReadEscaped(rest, j, '"', text_)) Fail("unterminated string");
    if (!scan::TrimBlanks(rest.substr(j)).empty())
      Fail("unexpected text after the value " + scan::Quote(rest.substr(j)));
    SetValueWithinLimits(*key_, name_, type, scan::StringData(text_));
  }

  scan::LineReader<char> lines_;
  TextView source_;
  WineHive hive_;
  MemoryStore& store_;
  KeyPathCache cache_;
  MemoryStore::Node* key_ = nullptr;
  Text path_;
  Text name_;
  Text text_;
};

}  // namespace

void ParseWineRegistry(std::string_view bytes, TextView source, WineHive hive, MemoryStore& store) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  WineRegParser(scan::LineReader<char>(bytes), source, hive, store).Run();
}

namespace {

// Reads a registry file piece by piece, so it never sits in memory whole.
void LoadWineFile(const std::filesystem::path& file, WineHive hive, MemoryStore& store) {
  const Text source = platform::HostPathText(file);
  const size_t offset = ReadFileHead(file, source, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  auto chunks = std::make_shared<FileChunks>(file, source, offset);
  scan::LineReader<char> lines([chunks](std::string& buffer) { return chunks->Append(buffer); });
  WineRegParser(std::move(lines), source, hive, store).Run();
}

}  // namespace

void LoadWinePrefix(const std::filesystem::path& prefix, MemoryStore& store) {
  LoadWineFile(prefix / "system.reg", WineHive::Machine, store);
  const std::filesystem::path user = prefix / "user.reg";
  std::error_code ec;
  if (std::filesystem::exists(user, ec)) LoadWineFile(user, WineHive::User, store);
  BuildClassesRoot(store);
}

}  // namespace brannock::registry
