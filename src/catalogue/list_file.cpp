#include "catalogue/list_file.h"

#include "platform/codepage.h"

namespace brannock {

namespace {

// Text converted and written at a time: large blocks, without holding a
// whole list's text.
constexpr size_t kBlockUnits = 32 * 1024;

}  // namespace

ListFileWriter::ListFileWriter(const std::filesystem::path& fileName) : file_(fileName) {
  pending_.reserve(kBlockUnits + 512);
  pending_ = u"Name;GUID\r\n";
}

void ListFileWriter::Add(TObjectData&& rec) { Add(static_cast<const TObjectData&>(rec)); }

void ListFileWriter::Add(const TObjectData& rec) {
  // Nothing is quoted or escaped: a name holding a semicolon or a line
  // break is written as it is. Lines are converted whole, so no character
  // is split between two blocks.
  pending_.append(rec.Name).append(1, u';').append(rec.GUID).append(u"\r\n");
  if (pending_.size() >= kBlockUnits) Flush();
}

void ListFileWriter::Flush() {
  file_.Write(platform::ToAnsiCodePage(pending_));
  pending_.clear();
}

void ListFileWriter::Commit() {
  Flush();
  file_.Commit();
}

void SaveList(const std::filesystem::path& fileName, const TObjects& list) {
  ListFileWriter writer(fileName);
  for (const TObjectData& rec : list) writer.Add(rec);
  writer.Commit();
}

}  // namespace brannock
