// One catalogue object (object class, type library, application ID or
// interface), the ordered list of them, and where a list builder puts them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/text.h"

namespace brannock {

enum class TObjectType : uint8_t { otCLSID = 0, otTypeLib = 1, otAppID = 2, otInterface = 3 };

struct TObjectData {
  Text Name;
  Text GUID;
  Text Server;
  Text TypeLib;
  Text CLSID;
  Text ProgId;
  Text AppId;
  uint32_t MajorVersion = 0;
  uint32_t MinorVersion = 0;
  Text Bitmap;
  Text DefaultIcon;
  TObjectType Typ = TObjectType::otCLSID;

  bool operator==(const TObjectData&) const = default;
};

// Indexed from 0, in registry enumeration order; only ever replaced whole.
using TObjects = std::vector<TObjectData>;

// Where a list builder hands its records, one at a time as they are made:
// a list that keeps them, or a list file that writes them on.
class RecordSink {
 public:
  virtual ~RecordSink() = default;
  // The number of entries the builder will look at (an upper bound).
  virtual void Expect(size_t count) { (void)count; }
  virtual void Add(TObjectData&& rec) = 0;
};

// Appends to a list.
class ListSink final : public RecordSink {
 public:
  explicit ListSink(TObjects& list) : list_(list) {}
  void Expect(size_t count) override { list_.reserve(list_.size() + count); }
  void Add(TObjectData&& rec) override { list_.push_back(std::move(rec)); }

 private:
  TObjects& list_;
};

}  // namespace brannock
