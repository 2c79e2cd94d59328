// Internals of the MSFT parser: what the records of a library point into.
// After the header and the type info offsets, a segment directory gives
// each segment's place in the file; names, strings and GUIDs are entries
// of their tables, a type that is not a plain VARTYPE is an entry of the
// type descriptor table (arrays have their bounds in the array descriptor
// table), and a constant is either embedded in its 32-bit word or an entry
// of the custom data segment.
//
// Every reader gives false when the file is damaged, after keeping the
// place of the first failure, which is the innermost one (callers fail
// after it): Failure() says where reading stopped.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "typelib/byte_reader.h"
#include "typelib/msft_model.h"
#include "typelib/msft_records.h"
#include "typelib/read_error.h"

namespace brannock::typelib::msft {

class Tables {
 public:
  // Member texts are kept in `texts`.
  Tables(ByteSpan file, TextStore* texts) : file_(file), texts_(texts) {}

  ByteSpan File() const { return file_; }
  const ByteReader& SegmentData(Segment segment) const { return segments_[segment]; }
  // The file offset of an offset into a segment.
  size_t At(Segment segment, int64_t offset) const {
    return segmentStart_[segment] + static_cast<size_t>(offset < 0 ? 0 : offset);
  }

  // Reads the segment directory at `directoryOffset`; an absent segment
  // reads as empty.
  bool ReadSegments(size_t directoryOffset);

  // An entry of the name or string table; empty for offset -1.
  bool Name(int32_t offset, Text* out);
  bool String(int32_t offset, Text* out);
  // The same kept in the text store.
  bool Name(int32_t offset, TextView* out);
  bool String(int32_t offset, TextView* out);
  TextStore& Texts() { return *texts_; }
  // An entry of the GUID table; the null GUID for offset -1.
  bool GuidAt(int32_t offset, Guid* out);
  // The type that a record's 32-bit type word describes: a VARTYPE
  // embedded in the word, or an offset in the type descriptor table.
  // Pointers and SAFEARRAYs share the descriptors of their element types.
  bool DataType(int32_t dataType, TypeDesc* out) { return DataType(dataType, 0, out); }
  // The same as a place in `types`, which holds the types of all members
  // read through these tables.
  bool MemberType(int32_t dataType, TypeTable* types, TypeId* out);
  // A constant: embedded in the word, or an offset in the custom data
  // segment.
  bool Value(int32_t encoded, Variant* out);

  // The file offset of the record being read, which a failure in an
  // embedded type word names.
  void SetCurrentRecord(size_t fileOffset) { current_ = fileOffset; }

  // Keeps the first failure and gives false.
  bool Fail(size_t fileOffset, const char* record) {
    if (!failure_) failure_ = ReadFailure{Code::TypeInvDataRead, fileOffset, record};
    return false;
  }
  // The failure kept by Fail (every reader that gives false calls it first).
  ReadFailure Failure() const { return failure_.value_or(ReadFailure{Code::TypeInvDataRead, 0, "library"}); }

 private:
  bool DataType(int32_t dataType, int depth, TypeDesc* out);
  bool ArrayType(int32_t offset, int depth, std::shared_ptr<const ArrayDesc>* out);

  ByteSpan file_;
  TextStore* texts_;
  std::array<ByteReader, kSegmentCount> segments_;
  std::array<size_t, kSegmentCount> segmentStart_{};
  size_t current_ = 0;
  std::optional<ReadFailure> failure_;
  std::map<int32_t, std::shared_ptr<const TypeDesc>> typeDescCache_;
  std::unordered_map<int32_t, TypeId> memberTypeIds_;
};

}  // namespace brannock::typelib::msft
