#include "registry/reg_file_parser.h"

#include <memory>

#include "common/windows1252.h"
#include "platform/files.h"
#include "registry/classes_root.h"
#include "registry/file_bytes.h"
#include "registry/input_limits.h"
#include "registry/key_path_cache.h"
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

template <typename Ch>
class RegFileParser {
 public:
  using View = std::basic_string_view<Ch>;

  RegFileParser(scan::LineReader<Ch> lines, TextView source, Encoding encoding, MemoryStore& store)
      : lines_(std::move(lines)), source_(source), encoding_(encoding), store_(store), cache_(store) {}

  void Run() {
    ReadHeader();
    View line;
    while (lines_.Next(line)) {
      size_t i = 0;
      while (i < line.size() && scan::IsBlankChar(line[i])) ++i;
      const View t = line.substr(i);
      if (t.empty() || t[0] == ';') continue;
      try {
        if (t[0] == '[') KeyLine(t);
        else if (t[0] == '@' || t[0] == '"') ValueLine(t);
        else Fail("unexpected text " + scan::Quote(t));
      } catch (const InputLimitExceeded& e) {
        Fail(e.what());
      }
    }
    BuildClassesRoot(store_);
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

  void KeyLine(View t) {
    View s = scan::TrimBlanks(t);
    if (s.size() < 2 || s.back() != ']') Fail("missing \"]\" at the end of the key line");
    s = s.substr(1, s.size() - 2);
    const bool deletion = !s.empty() && s[0] == '-';
    if (deletion) s.remove_prefix(1);
    const size_t bs = s.find(static_cast<Ch>('\\'));
    const View rootName = s.substr(0, bs);
    const View rest = bs == View::npos ? View() : s.substr(bs + 1);
    RootKey root = RootKey::ClassesRoot;
    bool skip = false;
    if (rootName.empty()) Fail("missing key name");
    if (!RootOfName(rootName, root, skip)) Fail("unknown root key " + scan::Quote(rootName));
    inKey_ = true;
    key_ = nullptr;
    if (skip) return;
    path_.clear();
    scan::AppendText(path_, rest, encoding_);
    root_ = root;
    if (deletion) {
      cache_.Invalidate();
      if (path_.empty()) return;
      store_.DeletePath(root, path_);
      // HKEY_CLASSES_ROOT is composed later from the machine's and the
      // user's classes: a key deleted there goes from both.
      if (root == RootKey::ClassesRoot) {
        for (RootKey layer : {RootKey::LocalMachine, RootKey::CurrentUser})
          store_.DeletePath(layer, u"Software\\Classes\\" + path_);
      }
      return;
    }
    key_ = cache_.Open(root, path_);
    if (key_ == nullptr) Fail("empty key name in " + scan::Quote(s));
  }

  // Reads a quoted text from t[i] (just after the opening quote) to the
  // closing quote; i ends after it. Escapes: \\ and \"; any other backslash
  // stays as written.
  bool ReadQuoted(View t, size_t& i, Text& out) {
    out.clear();
    size_t run = i;
    while (i < t.size()) {
      const Ch c = t[i];
      if (c == '"') {
        scan::AppendText(out, t.substr(run, i - run), encoding_);
        ++i;
        return true;
      }
      if (c == '\\' && i + 1 < t.size() && (t[i + 1] == '\\' || t[i + 1] == '"')) {
        scan::AppendText(out, t.substr(run, i - run), encoding_);
        out.push_back(static_cast<char16_t>(t[i + 1]));
        i += 2;
        run = i;
        continue;
      }
      ++i;
    }
    return false;
  }

  static void SkipBlanks(View t, size_t& i) {
    while (i < t.size() && scan::IsBlankChar(t[i])) ++i;
  }

  void ValueLine(View t) {
    size_t i = 1;
    if (t[0] == '@') name_.clear();
    else if (!ReadQuoted(t, i, name_)) Fail("unterminated string");
    SkipBlanks(t, i);
    if (i >= t.size() || t[i] != '=') Fail("missing \"=\" after the value name");
    ++i;
    SkipBlanks(t, i);
    if (!inKey_) Fail("value outside of a key");
    const View data = t.substr(i);
    if (data.empty()) Fail("missing value data");

    if (data[0] == '-') {
      if (!IsEnd(data.substr(1))) Fail("unexpected text after the value " + scan::Quote(data));
      if (key_ == nullptr) return;
      key_->DeleteValue(name_);
      if (root_ == RootKey::ClassesRoot) {
        for (RootKey layer : {RootKey::LocalMachine, RootKey::CurrentUser}) {
          MemoryStore::Node* node = store_.Find(layer, u"Software\\Classes\\" + path_);
          if (node != nullptr) node->DeleteValue(name_);
        }
      }
      return;
    }
    if (data[0] == '"') {
      size_t j = 1;
      if (!ReadQuoted(data, j, text_)) Fail("unterminated string");
      if (!IsEnd(data.substr(j))) Fail("unexpected text after the value " + scan::Quote(data.substr(j)));
      if (key_ != nullptr) SetValueWithinLimits(*key_, name_, RegType::Sz, scan::StringData(text_));
      return;
    }
    if (scan::StartsWithNoCase(data, "dword:")) {
      View digits = data.substr(6);
      const size_t semicolon = digits.find(static_cast<Ch>(';'));
      if (semicolon != View::npos) digits = digits.substr(0, semicolon);
      uint32_t v = 0;
      if (!scan::ReadDword(digits, v)) Fail("invalid dword value " + scan::Quote(data.substr(6)));
      if (key_ != nullptr) SetValueWithinLimits(*key_, name_, RegType::Dword, scan::DwordBytes(v));
      return;
    }
    uint32_t type = RegType::Binary;
    View rest;
    if (scan::StartsWithNoCase(data, "hex:")) {
      rest = data.substr(4);
    } else if (scan::StartsWithNoCase(data, "hex(")) {
      const size_t close = data.find(static_cast<Ch>(')'));
      if (close == View::npos || close + 1 >= data.size() || data[close + 1] != ':' ||
          !scan::ReadDword(data.substr(4, close - 4), type))
        Fail("unknown value type " + scan::Quote(data));
      rest = data.substr(close + 2);
    } else {
      Fail("unknown value type " + scan::Quote(data));
    }
    Bytes bytes;
    const std::string error = scan::ReadHexBytes(rest, lines_, bytes);
    if (!error.empty()) Fail(error);
    if (regedit4_ && (type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz))
      bytes = WidenAnsi(bytes);
    if (key_ != nullptr) SetValueWithinLimits(*key_, name_, type, std::move(bytes));
  }

  // REGEDIT4 writes string types as ANSI bytes; the registry holds UTF-16.
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

  scan::LineReader<Ch> lines_;
  TextView source_;
  Encoding encoding_;
  MemoryStore& store_;
  KeyPathCache cache_;
  bool regedit4_ = false;
  bool inKey_ = false;
  MemoryStore::Node* key_ = nullptr;
  RootKey root_ = RootKey::ClassesRoot;  // of the current key, whose path is path_
  Text path_;
  Text name_;
  Text text_;
};

void ParseUtf16(TextView text, TextView source, MemoryStore& store) {
  if (!text.empty() && text[0] == u'\xFEFF') text.remove_prefix(1);
  RegFileParser<char16_t>(scan::LineReader<char16_t>(text), source, Encoding::Utf16, store).Run();
}

bool LooksLikeUtf16LeWithoutMark(std::string_view b) {
  return b.size() >= 4 && b[0] != 0 && b[1] == 0 && b[2] != 0 && b[3] == 0;
}

bool StartsWith(std::string_view b, std::string_view prefix) { return b.substr(0, prefix.size()) == prefix; }

}  // namespace

void ParseRegFile(std::string_view bytes, TextView source, MemoryStore& store) {
  const bool le = StartsWith(bytes, "\xFF\xFE");
  const bool be = StartsWith(bytes, "\xFE\xFF");
  if (le || be || LooksLikeUtf16LeWithoutMark(bytes)) {
    if (le || be) bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0) throw RegistryParseError::At(source, 0, "truncated UTF-16 text (odd number of bytes)");
    ParseUtf16(DecodeUtf16(bytes, be), source, store);
    return;
  }
  Encoding encoding = Encoding::Utf8;
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  else if (!scan::IsValidUtf8(bytes)) encoding = Encoding::Windows1252;
  RegFileParser<char>(scan::LineReader<char>(bytes), source, encoding, store).Run();
}

void LoadRegFile(const std::filesystem::path& file, MemoryStore& store) {
  const Text source = platform::HostPathText(file);
  // Regedit's own exports are UTF-16LE: read them piece by piece straight
  // into UTF-16, so the file never sits in memory whole.
  if (StartsWith(ReadFileHead(file, source, 2), "\xFF\xFE")) {
    auto chunks = std::make_shared<FileChunks>(file, source, 2);
    if (chunks->Size() % 2 != 0)
      throw RegistryParseError::At(source, 0, "truncated UTF-16 text (odd number of bytes)");
    scan::LineReader<char16_t> lines([chunks](std::u16string& buffer) { return chunks->Append(buffer); });
    RegFileParser<char16_t>(std::move(lines), source, Encoding::Utf16, store).Run();
    return;
  }
  ParseRegFile(ReadFileBytes(file, source), source, store);
}

}  // namespace brannock::registry
