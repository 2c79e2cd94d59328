#include "catalogue/catalogue.h"

#include "catalogue/object_kinds.h"

namespace brannock {

Catalogue::Catalogue(registry::RegistryBackend& backend) : backend_(&backend) {}

registry::RegistryBackend& Catalogue::Backend() { return *backend_; }

void Catalogue::CaptureEnvironment() { Environment = backend_->WindowsEnvironment(); }

TObjects& Catalogue::List(TObjectType t) { return this->*KindOf(t).list; }

void Catalogue::ReadList(TObjectType t) { ReadList(t, List(t)); }

void Catalogue::ReadList(TObjectType t, TObjects& list) {
  list.clear();
  ListSink sink(list);
  ReadRecords(t, sink);
}

void Catalogue::ReadRecords(TObjectType t, RecordSink& sink) { (this->*KindOf(t).readRecords)(sink); }

void Catalogue::Resolve(TObjectData& rec) {
  // The resolutions take G by reference and never change GUID; a copy keeps
  // that true even if one did.
  const Text G = rec.GUID;
  (this->*KindOf(rec.Typ).resolve)(G, rec);
}

}  // namespace brannock
