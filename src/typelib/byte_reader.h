// A cursor over little-endian bytes that checks the offset and the length
// before every read. Reads never touch memory outside the given range; a
// read that does not fit leaves the cursor where it was and reports
// ReadStatus::OutOfBounds (false). Offsets are size_t and every sum is checked for
// overflow before it is used.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

namespace brannock::typelib {

static_assert(std::endian::native == std::endian::little,
              "on-disk records are read as little-endian host structures");

// The outcome of one read: true when it fitted, so that a chain of reads
// reads as one condition (`if (!r.Seek(at) || !r.Read(&h)) return ...`).
// Where a whole reader failed, and why, is a ReadFailure
// (typelib/read_error.h).
class [[nodiscard]] ReadStatus {
 public:
  static const ReadStatus Ok, OutOfBounds;

  explicit constexpr operator bool() const { return fits_; }
  constexpr bool operator==(const ReadStatus&) const = default;

 private:
  explicit constexpr ReadStatus(bool fits) : fits_(fits) {}
  bool fits_;
};
inline constexpr ReadStatus ReadStatus::Ok{true};
inline constexpr ReadStatus ReadStatus::OutOfBounds{false};

using ByteSpan = std::span<const uint8_t>;

// True when [offset, offset + length) lies inside a range of `size` bytes.
constexpr bool RangeFits(size_t size, size_t offset, size_t length) {
  return offset <= size && length <= size - offset;
}

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(ByteSpan data) : data_(data) {}

  size_t Offset() const { return offset_; }
  size_t Size() const { return data_.size(); }
  size_t Remaining() const { return data_.size() - offset_; }
  ByteSpan Data() const { return data_; }

  [[nodiscard]] ReadStatus Seek(size_t offset) {
    if (offset > data_.size()) return ReadStatus::OutOfBounds;
    offset_ = offset;
    return ReadStatus::Ok;
  }

  [[nodiscard]] ReadStatus Skip(size_t count) {
    if (!RangeFits(data_.size(), offset_, count)) return ReadStatus::OutOfBounds;
    offset_ += count;
    return ReadStatus::Ok;
  }

  // A trivially copyable record (integers or structures of integers) read
  // as it lies on disk.
  template <typename T>
  [[nodiscard]] ReadStatus Read(T* out) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (!RangeFits(data_.size(), offset_, sizeof(T))) return ReadStatus::OutOfBounds;
    std::memcpy(out, data_.data() + offset_, sizeof(T));
    offset_ += sizeof(T);
    return ReadStatus::Ok;
  }

  // A view of the next `count` bytes; the cursor moves past them.
  [[nodiscard]] ReadStatus ReadBytes(size_t count, ByteSpan* out) {
    if (!RangeFits(data_.size(), offset_, count)) return ReadStatus::OutOfBounds;
    *out = data_.subspan(offset_, count);
    offset_ += count;
    return ReadStatus::Ok;
  }

  // A sub-reader over [offset, offset + length) of this reader's range.
  [[nodiscard]] ReadStatus SubReader(size_t offset, size_t length, ByteReader* out) const {
    if (!RangeFits(data_.size(), offset, length)) return ReadStatus::OutOfBounds;
    *out = ByteReader(data_.subspan(offset, length));
    return ReadStatus::Ok;
  }

 private:
  ByteSpan data_;
  size_t offset_ = 0;
};

// Reads a record at an absolute offset without keeping a cursor.
template <typename T>
[[nodiscard]] inline ReadStatus ReadAt(ByteSpan data, size_t offset, T* out) {
  ByteReader r(data);
  if (!r.Seek(offset)) return ReadStatus::OutOfBounds;
  return r.Read(out);
}

}  // namespace brannock::typelib
