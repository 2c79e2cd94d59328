#include "registry/reg_file_parser.h"

#include <bit>
#include <cstdint>
#include <memory>

#include "common/unit_search.h"
#include "common/windows1252.h"
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

using scan::Encoding;

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

// The root of a key line; `skip` for roots whose keys are not kept.
template <typename Ch>
bool RootOfName(std::basic_string_view<Ch> name, RootKey& root, bool& skip) {
  using scan::EqualsNoCaseAscii;
  skip = false;
  if (EqualsNoCaseAscii(name, "HKEY_CLASSES_ROOT") || EqualsNoCaseAscii(name, "HKCR")) root = RootKey::ClassesRoot;
  else if (EqualsNoCaseAscii(name, "HKEY_CURRENT_USER") || EqualsNoCaseAscii(name, "HKCU")) root = RootKey::CurrentUser;
  else if (EqualsNoCaseAscii(name, "HKEY_LOCAL_MACHINE") || EqualsNoCaseAscii(name, "HKLM")) root = RootKey::LocalMachine;
  else if (EqualsNoCaseAscii(name, "HKEY_USERS") || EqualsNoCaseAscii(name, "HKU")) root = RootKey::Users;
  else if (EqualsNoCaseAscii(name, "HKEY_CURRENT_CONFIG") || EqualsNoCaseAscii(name, "HKCC")) skip = true;
  else return false;
  return true;
}

// How the parser treats the keys it reads: noted in an index (the values
// checked, not kept), or put into the store in file order, deletions and
// all.
enum class Mode { Index, Apply };

// What the text of a file is and how it reads: shared by the scan and by
// the reads of values afterwards.
template <typename Ch>
struct RegText {
  std::basic_string_view<Ch> text;  // after the byte order mark
  Text source;
  Encoding encoding = Encoding::Utf16;
  bool regedit4 = false;
};

template <typename Ch>
class RegFileParser {
 public:
  using View = std::basic_string_view<Ch>;

  RegFileParser(const RegText<Ch>& file, View text, size_t firstLine)
      : file_(file), lines_(text, firstLine), source_(file.source), regedit4_(file.regedit4), units_(text.size()) {}

  bool Regedit4() const { return regedit4_; }

  // Checks the whole file. Index mode notes its keys in `index` and returns
  // false at a deletion (a file with deletions is applied instead); Apply
  // mode builds the store.
  bool Run(Mode mode, KeyIndex* index, MemoryStore& store) {
    mode_ = mode;
    index_ = index;
    if (index_ != nullptr) index_->ExpectText(units_);
    store_ = &store;
    if (mode == Mode::Apply) cache_ = std::make_unique<KeyPathCache>(store);
    inKey_ = false;
    ReadHeader();
    View line;
    while (lines_.Next(line)) {
      const View t = scan::TrimLeadingBlanks(line);
      if (t.empty() || t[0] == ';') continue;
      try {
        if (t[0] == '[') {
          if (!KeyLine(t)) return false;
        } else if (t[0] == '@' || t[0] == '"') {
          if (!ValueLine(t)) return false;
        } else {
          Fail("unexpected text " + scan::Quote(t));
        }
      } catch (const InputLimitExceeded& e) {
        Fail(e.what());
      }
    }
    if (mode == Mode::Apply) BuildClassesRoot(store);
    return true;
  }

  // The values from here to the next key line.
  void ReadValues(std::vector<MemoryStore::Value>& out) {
    View line;
    while (lines_.Next(line)) {
      const View t = scan::TrimLeadingBlanks(line);
      if (t.empty() || t[0] == ';') continue;
      if (t[0] == '[') return;
      if (!ParseValue(t)) continue;
      out.push_back({name_, type_, TakeData()});
    }
  }

 private:
  [[noreturn]] void Fail(std::string_view what) const {
    throw RegistryParseError::At(source_, lines_.LineNumber(), what);
  }

  void ReadHeader() {
    View line;
    while (lines_.Next(line)) {
      const View t = scan::TrimBlanks(line);
      if (t.empty()) continue;
      if (scan::EqualsNoCaseAscii(t, kHeader5)) return;
      if (scan::EqualsNoCaseAscii(t, kHeader4)) {
        regedit4_ = true;
        return;
      }
      break;
    }
    Fail("missing header \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
  }

  bool KeyLine(View t) {
    View s = scan::TrimBlanks(t);
    if (s.size() < 2 || s.back() != ']') Fail("missing \"]\" at the end of the key line");
    s = s.substr(1, s.size() - 2);
    const bool deletion = !s.empty() && s[0] == '-';
    if (deletion) s.remove_prefix(1);
    const size_t bs = FindUnit(s, 0, static_cast<Ch>('\\'));
    const View rootName = s.substr(0, bs);
    View rest = bs == View::npos ? View() : s.substr(bs + 1);
    RootKey root = RootKey::ClassesRoot;
    bool skip = false;
    if (rootName.empty()) Fail("missing key name");
    if (!RootOfName(rootName, root, skip)) Fail("unknown root key " + scan::Quote(rootName));
    inKey_ = true;
    keyed_ = false;
    if (skip) return true;
    if (deletion && mode_ == Mode::Index) return false;
    if (mode_ == Mode::Index) {
      if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
      TextView path;
      if constexpr (sizeof(Ch) == 2) {
        path = rest;
      } else {
        path_.clear();
        scan::AppendText(path_, rest, file_.encoding);
        path = index_->Keep(path_);
      }
      if (!HasNoEmptyComponent(path)) Fail("empty key name in " + scan::Quote(s));
      entry_ = &index_->Add(root, {path, lines_.Position(), static_cast<uint32_t>(lines_.LineNumber()), 0});
      keyed_ = true;
      return true;
    }
    path_.clear();
    scan::AppendText(path_, rest, file_.encoding);
    root_ = root;
    if (deletion) {
      cache_->Invalidate();
      if (path_.empty()) return true;
      store_->DeletePath(root, path_);
      // HKEY_CLASSES_ROOT is composed later from the machine's and the
      // user's classes: a key deleted there goes from both.
      if (root == RootKey::ClassesRoot) {
        for (RootKey layer : {RootKey::LocalMachine, RootKey::CurrentUser})
          store_->DeletePath(layer, u"Software\\Classes\\" + path_);
      }
      return true;
    }
    key_ = cache_->Open(root, path_);
    if (key_ == nullptr) Fail("empty key name in " + scan::Quote(s));
    keyed_ = true;
    return true;
  }

  // Reads a quoted text from t[i] (just after the opening quote) to the
  // closing quote; i ends after it. Escapes: \\ and \"; any other backslash
  // stays as written. Without `out` the text is only checked; `units` is
  // the number of units it has, its escapes taken as one.
  bool ReadQuoted(View t, size_t& i, Text* out, size_t* units = nullptr) {
    if (out != nullptr) out->clear();
    size_t run = i;
    size_t count = 0;
    for (;;) {
      const size_t at = FindEitherUnit(t, i, static_cast<Ch>('"'), static_cast<Ch>('\\'));
      if (at == View::npos) {
        i = t.size();
        return false;
      }
      if (t[at] == '"') {
        if (out != nullptr) scan::AppendText(*out, t.substr(run, at - run), file_.encoding);
        if (units != nullptr) *units = count + (at - run);
        i = at + 1;
        return true;
      }
      i = at + 1;
      if (i < t.size() && (t[i] == '\\' || t[i] == '"')) {
        if (out != nullptr) {
          scan::AppendText(*out, t.substr(run, at - run), file_.encoding);
          out->push_back(static_cast<char16_t>(t[i]));
        }
        count += at - run + 1;
        run = ++i;
      }
    }
  }

  static void SkipBlanks(View t, size_t& i) {
    while (i < t.size() && scan::IsBlankChar(t[i])) ++i;
  }

  // Parses a value line into name_, type_ and text_ or bytes_; false for
  // the deletion of a value ("name"=-).
  bool ParseValue(View t) {
    // Scanning, only the data's size counts.
    const bool scanning = mode_ == Mode::Index;
    size_t i = 1;
    if (t[0] == '@') name_.clear();
    else if (!ReadQuoted(t, i, scanning ? nullptr : &name_)) Fail("unterminated string");
    SkipBlanks(t, i);
    if (i >= t.size() || t[i] != '=') Fail("missing \"=\" after the value name");
    ++i;
    SkipBlanks(t, i);
    if (!inKey_) Fail("value outside of a key");
    const View data = t.substr(i);
    if (data.empty()) Fail("missing value data");
    isText_ = false;
    if (data[0] == '-') {
      if (!IsEnd(data.substr(1))) Fail("unexpected text after the value " + scan::Quote(data));
      return false;
    }
    if (data[0] == '"') {
      size_t j = 1;
      size_t units = 0;
      // 8-bit text may take fewer units than bytes once decoded.
      const bool decode = !scanning || (sizeof(Ch) == 1 && data.size() * 2 > kMaxValueBytes);
      if (!ReadQuoted(data, j, decode ? &text_ : nullptr, &units)) Fail("unterminated string");
      if (!IsEnd(data.substr(j))) Fail("unexpected text after the value " + scan::Quote(data.substr(j)));
      type_ = RegType::Sz;
      isText_ = true;
      CheckValueSize((decode ? text_.size() : units) * 2 + 2);
      return true;
    }
    bytes_.clear();
    if (scan::StartsWithNoCase(data, "dword:")) {
      View digits = data.substr(6);
      const size_t semicolon = digits.find(static_cast<Ch>(';'));
      if (semicolon != View::npos) digits = digits.substr(0, semicolon);
      uint32_t v = 0;
      if (!scan::ReadDword(digits, v)) Fail("invalid dword value " + scan::Quote(data.substr(6)));
      type_ = RegType::Dword;
      bytes_ = scan::DwordBytes(v);
      return true;
    }
    type_ = RegType::Binary;
    View rest;
    if (scan::StartsWithNoCase(data, "hex:")) {
      rest = data.substr(4);
    } else if (scan::StartsWithNoCase(data, "hex(")) {
      const size_t close = data.find(static_cast<Ch>(')'));
      if (close == View::npos || close + 1 >= data.size() || data[close + 1] != ':' ||
          !scan::ReadDword(data.substr(4, close - 4), type_))
        Fail("unknown value type " + scan::Quote(data));
      rest = data.substr(close + 2);
    } else {
      Fail("unknown value type " + scan::Quote(data));
    }
    const std::string error = scan::ReadHexBytes(rest, lines_, bytes_);
    if (!error.empty()) Fail(error);
    // REGEDIT4 writes string types as ANSI bytes; the registry holds UTF-16.
    if (regedit4_ && (type_ == RegType::Sz || type_ == RegType::ExpandSz || type_ == RegType::MultiSz))
      bytes_ = WidenAnsi(bytes_);
    CheckValueSize(bytes_.size());
    return true;
  }

  Bytes TakeData() { return isText_ ? scan::StringData(text_) : bytes_; }

  bool ValueLine(View t) {
    if (!ParseValue(t)) {  // a deletion
      if (mode_ == Mode::Index) return false;
      if (!keyed_) return true;
      key_->DeleteValue(name_);
      if (root_ == RootKey::ClassesRoot) {
        for (RootKey layer : {RootKey::LocalMachine, RootKey::CurrentUser}) {
          MemoryStore::Node* node = store_->Find(layer, u"Software\\Classes\\" + path_);
          if (node != nullptr) node->DeleteValue(name_);
        }
      }
      return true;
    }
    if (!keyed_) return true;
    if (mode_ == Mode::Index) ++entry_->valueLines;
    else SetValueWithinLimits(*key_, name_, type_, TakeData());
    return true;
  }

  static Bytes WidenAnsi(const Bytes& ansi) {
    Bytes wide;
    wide.reserve(ansi.size() * 2);
    for (uint8_t b : ansi) {
      const char16_t c = Windows1252ToUtf16(b);
      wide.push_back(static_cast<uint8_t>(c & 0xFF));
      wide.push_back(static_cast<uint8_t>(c >> 8));
    }
    return wide;
  }

  // Nothing but blanks and a comment.
  static bool IsEnd(View rest) {
    size_t i = 0;
    SkipBlanks(rest, i);
    return i == rest.size() || rest[i] == ';';
  }

  const RegText<Ch>& file_;
  scan::LineReader<Ch> lines_;
  TextView source_;
  Mode mode_ = Mode::Apply;
  KeyIndex* index_ = nullptr;
  MemoryStore* store_ = nullptr;
  std::unique_ptr<KeyPathCache> cache_;
  KeyIndex::Entry* entry_ = nullptr;
  bool inKey_ = true;   // values may follow (reading a key's values)
  bool keyed_ = false;  // the current key is kept
  MemoryStore::Node* key_ = nullptr;
  RootKey root_ = RootKey::ClassesRoot;  // of the current key, whose path is path_
  Text path_;
  Text name_;
  Text text_;
  Bytes bytes_;
  uint32_t type_ = RegType::None;
  bool isText_ = false;
  bool regedit4_ = false;
  size_t units_;  // the length of the text
};

// The index of one file, which reads the values of its keys on demand.
template <typename Ch>
class RegFileIndex : public KeyIndex {
 public:
  // `text` views `file`, or is empty when the file had to be decoded into
  // `decoded`.
  RegFileIndex(std::shared_ptr<const platform::WholeFile> file, Text decoded, RegText<Ch> text)
      : file_(std::move(file)), decoded_(std::move(decoded)), text_(std::move(text)) {
    if constexpr (sizeof(Ch) == 2) {
      if (text_.text.empty()) text_.text = decoded_;
    }
  }

  RegText<Ch>& File() { return text_; }

  void ReadValues(const Entry& entry, std::vector<MemoryStore::Value>& out) const override {
    RegFileParser<Ch>(text_, text_.text.substr(entry.values), entry.line).ReadValues(out);
  }

 private:
  std::shared_ptr<const platform::WholeFile> file_;
  Text decoded_;
  RegText<Ch> text_;
};

// Reads the text into the store: indexed, or in file order when the file
// deletes keys or values or comes near a limit.
template <typename Ch>
void Load(std::shared_ptr<RegFileIndex<Ch>> index, MemoryStore& store) {
  RegText<Ch>& text = index->File();
  if (!text.text.empty() && text.text[0] == 0xFEFF) text.text.remove_prefix(1);
  RegFileParser<Ch> scan(text, text.text, 0);
  if (scan.Run(Mode::Index, index.get(), store) && index->Order()) {
    text.regedit4 = scan.Regedit4();
    KeyIndex::Attach(std::move(index), store);
    BuildClassesRoot(store);
    return;
  }
  RegFileParser<Ch>(text, text.text, 0).Run(Mode::Apply, nullptr, store);
}

bool LooksLikeUtf16LeWithoutMark(std::string_view b) {
  return b.size() >= 4 && b[0] != 0 && b[1] == 0 && b[2] != 0 && b[3] == 0;
}

bool StartsWith(std::string_view b, std::string_view prefix) { return b.substr(0, prefix.size()) == prefix; }

void ParseFile(std::shared_ptr<const platform::WholeFile> file, TextView source, MemoryStore& store) {
  std::string_view bytes = file->Bytes();
  const bool le = StartsWith(bytes, "\xFF\xFE");
  const bool be = StartsWith(bytes, "\xFE\xFF");
  if (le || be || LooksLikeUtf16LeWithoutMark(bytes)) {
    if (le || be) bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0) throw RegistryParseError::At(source, 0, "truncated UTF-16 text (odd number of bytes)");
    // Little-endian text on a little-endian machine is read where it lies
    // (a mapping starts on a page, and the mark is two bytes); other text
    // is decoded once.
    std::u16string_view text;
    Text decoded;
    if (!be && std::endian::native == std::endian::little && reinterpret_cast<uintptr_t>(bytes.data()) % 2 == 0)
      text = std::u16string_view(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    else
      decoded = DecodeUtf16(bytes, be);
    Load(std::make_shared<RegFileIndex<char16_t>>(std::move(file), std::move(decoded),
                                                  RegText<char16_t>{text, Text(source), Encoding::Utf16}),
         store);
    return;
  }
  Encoding encoding = Encoding::Utf8;
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  else if (!scan::IsValidUtf8(bytes)) encoding = Encoding::Windows1252;
  Load(std::make_shared<RegFileIndex<char>>(std::move(file), Text(), RegText<char>{bytes, Text(source), encoding}),
       store);
}

}  // namespace

void ParseRegFile(std::string_view bytes, TextView source, MemoryStore& store) {
  ParseFile(platform::WholeFile::FromBytes(bytes), source, store);
}

void LoadRegFile(const std::filesystem::path& file, MemoryStore& store) {
  const Text source = platform::HostPathText(file);
  ParseFile(ReadWholeRegistryFile(file, source), source, store);
}

}  // namespace brannock::registry
