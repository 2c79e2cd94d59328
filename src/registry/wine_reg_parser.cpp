#include "registry/wine_reg_parser.h"

#include <memory>

#include "common/unit_search.h"
#include "platform/files.h"
#include "registry/classes_root.h"
#include "registry/input_limits.h"
#include "registry/key_index.h"
#include "registry/key_path_cache.h"
#include "registry/registry_file_reading.h"
#include "registry/registry_parse_error.h"
#include "registry/text_scan.h"

namespace brannock::registry {

namespace {

using View = std::string_view;

constexpr View kHeader = "WINE REGISTRY Version 2";

// How the parser treats the keys it reads: noted in an index (the values
// checked, not kept), or put into the store in file order.
enum class Mode { Index, Apply };

class WineRegParser {
 public:
  WineRegParser(View text, size_t firstLine, TextView source, WineHive hive)
      : lines_(text, firstLine), source_(source), hive_(hive), units_(text.size()) {}

  // Checks the whole file; Index mode notes its keys in `index`, Apply mode
  // builds them in `store`. Returns the hive its keys belong to.
  WineHive Run(Mode mode, KeyIndex* index, MemoryStore& store) {
    index_ = index;
    if (index_ != nullptr) index_->ExpectText(units_);
    store_ = &store;
    if (mode == Mode::Apply) cache_ = std::make_unique<KeyPathCache>(store);
    View line;
    if (!lines_.Next(line) || scan::TrimBlanks(line) != kHeader) Fail("missing header \"WINE REGISTRY Version 2\"");
    while (lines_.Next(line)) {
      const View t = scan::TrimLeadingBlanks(line);
      if (t.empty()) continue;
      if (t[0] == '#') {  // #time=, #class=, #link; #arch= before the first key
        if (!inKey_) ArchLine(t);
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
    return hive_;
  }

  // The values from here to the next key line.
  void ReadValues(std::vector<MemoryStore::Value>& out) {
    inKey_ = true;
    View line;
    while (lines_.Next(line)) {
      const View t = scan::TrimLeadingBlanks(line);
      if (t.empty() || t[0] == '#' || t[0] == ';') continue;
      if (t[0] == '[') return;
      ParseValue(t);
      out.push_back({name_, type_, TakeData()});
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
      store_->SetMachineView(RegistryView::Bits32);
  }

  void HeaderComment(View t) {
    if (!scan::StartsWithNoCase(t, ";; All keys relative to ")) return;
    if (t.find("\\\\User") != View::npos) hive_ = WineHive::User;
    else if (t.find("\\\\Machine") != View::npos) hive_ = WineHive::Machine;
  }

  // Reads escaped text from t[i] up to an unescaped `end`; i ends after it.
  // Without `out` the text is only checked, and `units` bounds the number
  // of code units it decodes to.
  bool ReadEscaped(View t, size_t& i, char end, Text* out, size_t* units = nullptr) {
    if (out == nullptr) {
      // What follows a backslash is never the end: the escape takes it,
      // and the digits after it are no quote or bracket either.
      const size_t from = i;
      for (size_t at = FindEitherUnit(t, i, end, '\\'); at != View::npos; at = FindEitherUnit(t, at + 2, end, '\\')) {
        if (t[at] == end) {
          i = at + 1;
          if (units != nullptr) *units = at - from;
          return true;
        }
        if (at + 1 >= t.size()) break;
      }
      i = t.size();
      return false;
    }
    return ReadEscaped(t, i, end, *out);
  }

  bool ReadEscaped(View t, size_t& i, char end, Text& out) {
    out.clear();
    for (;;) {
      const size_t at = FindEitherUnit(t, i, end, '\\');
      // Between escapes: UTF-8 (a byte sequence that is not becomes U+FFFD).
      scan::AppendText(out, t.substr(i, at == View::npos ? View::npos : at - i), scan::Encoding::Utf8);
      if (at == View::npos) {
        i = t.size();
        return false;
      }
      i = at + 1;
      if (t[at] == end) return true;
      if (i >= t.size()) return false;
      out.push_back(Unescape(t, i));
    }
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
        for (; k < 4 && i < t.size() && HexDigitValue(t[i]) >= 0; ++k, ++i) v = v * 16 + HexDigitValue(t[i]);
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
    if (!ReadEscaped(t, i, ']', &path_)) Fail("missing \"]\" at the end of the key line");
    // The rest is the key's time stamp (seconds since 1970).
    const View stamp = scan::TrimBlanks(t.substr(i));
    for (char c : stamp)
      if (c < '0' || c > '9') Fail("unexpected text after the key " + scan::Quote(stamp));
    const RootKey root = hive_ == WineHive::Machine ? RootKey::LocalMachine : RootKey::CurrentUser;
    inKey_ = true;
    if (index_ != nullptr) {
      TextView path = path_;
      if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
      if (!HasNoEmptyComponent(path)) Fail("empty key name in " + scan::Quote(t));
      entry_ = &index_->Add(root, {index_->Keep(path), lines_.Position(), static_cast<uint32_t>(lines_.LineNumber()), 0});
      return;
    }
    key_ = cache_->Open(root, path_);
    if (key_ == nullptr) Fail("empty key name in " + scan::Quote(t));
  }

  void ValueLine(View t) {
    ParseValue(t);
    if (index_ != nullptr) ++entry_->valueLines;
    else SetValueWithinLimits(*key_, name_, type_, TakeData());
  }

  // Parses a value line into name_, type_ and text_ or bytes_.
  void ParseValue(View t) {
    size_t i = 1;
    if (t[0] == '@') name_.clear();
    else if (!ReadEscaped(t, i, '"', index_ != nullptr ? nullptr : &name_)) Fail("unterminated string");
    if (i >= t.size() || t[i] != '=') Fail("missing \"=\" after the value name");
    ++i;
    if (!inKey_) Fail("value outside of a key");
    const View data = t.substr(i);
    isText_ = false;
    if (!data.empty() && data[0] == '"') {
      ReadString(data.substr(1), RegType::Sz);
      return;
    }
    if (scan::StartsWithNoCase(data, "str(")) {
      const size_t close = data.find(')');
      uint32_t type = 0;
      if (close == View::npos || close + 2 >= data.size() || data[close + 1] != ':' || data[close + 2] != '"' ||
          !scan::ReadDword(data.substr(4, close - 4), type))
        Fail("unknown value type " + scan::Quote(data));
      ReadString(data.substr(close + 3), type);
      return;
    }
    bytes_.clear();
    if (scan::StartsWithNoCase(data, "dword:")) {
      uint32_t v = 0;
      if (!scan::ReadDword(data.substr(6), v)) Fail("invalid dword value " + scan::Quote(data.substr(6)));
      type_ = RegType::Dword;
      bytes_ = scan::DwordBytes(v);
      return;
    }
    type_ = RegType::Binary;
    View rest;
    if (scan::StartsWithNoCase(data, "hex:")) {
      rest = data.substr(4);
    } else if (scan::StartsWithNoCase(data, "hex(")) {
      const size_t close = data.find(')');
      if (close == View::npos || close + 1 >= data.size() || data[close + 1] != ':' ||
          !scan::ReadDword(data.substr(4, close - 4), type_))
        Fail("unknown value type " + scan::Quote(data));
      rest = data.substr(close + 2);
    } else {
      Fail(data.empty() ? std::string("missing value data") : "unknown value type " + scan::Quote(data));
    }
    const std::string error = scan::ReadHexBytes(rest, lines_, bytes_);
    if (!error.empty()) Fail(error);
    CheckValueSize(bytes_.size());
  }

  // `rest` follows the opening quote.
  void ReadString(View rest, uint32_t type) {
    size_t j = 0;
    size_t units = 0;
    // Scanning, only the size counts: decoded when it might pass the limit.
    const bool decode = index_ == nullptr || rest.size() * 2 > kMaxValueBytes;
    if (!ReadEscaped(rest, j, '"', decode ? &text_ : nullptr, &units)) Fail("unterminated string");
    if (!scan::TrimBlanks(rest.substr(j)).empty())
      Fail("unexpected text after the value " + scan::Quote(rest.substr(j)));
    type_ = type;
    isText_ = true;
    CheckValueSize((decode ? text_.size() : units) * 2 + 2);
  }

  Bytes TakeData() { return isText_ ? scan::StringData(text_) : bytes_; }

  scan::LineReader<char> lines_;
  TextView source_;
  WineHive hive_;
  size_t units_;
  KeyIndex* index_ = nullptr;
  MemoryStore* store_ = nullptr;
  std::unique_ptr<KeyPathCache> cache_;
  KeyIndex::Entry* entry_ = nullptr;
  bool inKey_ = false;
  MemoryStore::Node* key_ = nullptr;
  Text path_;
  Text name_;
  Text text_;
  Bytes bytes_;
  uint32_t type_ = RegType::None;
  bool isText_ = false;
};

// The index of one file, which reads the values of its keys on demand.
class WineFileIndex : public KeyIndex {
 public:
  WineFileIndex(std::shared_ptr<const platform::WholeFile> file, View text, Text source)
      : file_(std::move(file)), text_(text), source_(std::move(source)) {}

  void ReadValues(const Entry& entry, std::vector<MemoryStore::Value>& out) const override {
    // The hive plays no part in reading values.
    WineRegParser(text_.substr(entry.values), entry.line, source_, WineHive::Machine).ReadValues(out);
  }

 private:
  std::shared_ptr<const platform::WholeFile> file_;
  View text_;
  Text source_;
};

// Reads one file into the store, indexed or (near a limit) in file order.
void ParseFile(std::shared_ptr<const platform::WholeFile> file, TextView source, WineHive hive, MemoryStore& store) {
  View bytes = file->Bytes();
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  auto index = std::make_shared<WineFileIndex>(std::move(file), bytes, Text(source));
  WineRegParser(bytes, 0, source, hive).Run(Mode::Index, index.get(), store);
  if (index->Order()) {
    KeyIndex::Attach(std::move(index), store);
    return;
  }
  WineRegParser(bytes, 0, source, hive).Run(Mode::Apply, nullptr, store);
}

}  // namespace

void ParseWineRegistry(std::string_view bytes, TextView source, WineHive hive, MemoryStore& store) {
  ParseFile(platform::WholeFile::FromBytes(bytes), source, hive, store);
}

namespace {

void LoadWineFile(const std::filesystem::path& file, WineHive hive, MemoryStore& store) {
  const Text source = platform::HostPathText(file);
  ParseFile(ReadWholeRegistryFile(file, source), source, hive, store);
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
