// List files: one catalogue list as semicolon-separated text in the ANSI
// code page, header "Name;GUID", one "Name;GUID" line per record, CR LF
// after every line.
#pragma once

#include <filesystem>

#include "catalogue/object_data.h"
#include "platform/files.h"

namespace brannock {

// A list file written record by record, as a builder makes the records, so
// that the list need not be held: the text goes to the file in blocks, and
// the file replaces an existing one at Commit, completely. A writer that
// ends without Commit (an error while the records were read) leaves no
// file and the old one as it was. Raises FileError
// "Cannot create file "%s". %s" when the file cannot be created or written,
// the first time before any record.
class ListFileWriter final : public RecordSink {
 public:
  explicit ListFileWriter(const std::filesystem::path& fileName);
  void Add(TObjectData&& rec) override;
  void Add(const TObjectData& rec);
  void Commit();

 private:
  void Flush();

  platform::AtomicFile file_;
  Text pending_;  // lines not yet converted and written
};

// Writes the list file, replacing an existing file completely or not at all.
// Raises FileError "Cannot create file "%s". %s" when it cannot be written.
void SaveList(const std::filesystem::path& fileName, const TObjects& list);

}  // namespace brannock
