#include "catalogue/list_file.h"

#include "platform/codepage.h"
#include "platform/files.h"

namespace brannock {

std::string ListFileBytes(const TObjects& list) {
  // Nothing is quoted or escaped: a name holding a semicolon or a line
  // break is written as it is.
  size_t size = 11;
  for (const TObjectData& rec : list) size += rec.Name.size() + rec.GUID.size() + 3;
  Text text;
  text.reserve(size);
  text = u"Name;GUID\r\n";
  for (const TObjectData& rec : list) {
    text.append(rec.Name).append(1, u';').append(rec.GUID).append(u"\r\n");
  }
  return platform::ToAnsiCodePage(text);
}

void SaveList(const std::filesystem::path& fileName, const TObjects& list) {
  platform::WriteFileAtomically(fileName, ListFileBytes(list));
}

}  // namespace brannock
