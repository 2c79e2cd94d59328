#include "catalogue/catalogue.h"

namespace brannock {

Catalogue::Catalogue(registry::RegistryBackend& backend) : backend_(&backend) {}

registry::RegistryBackend& Catalogue::Backend() { return *backend_; }

void Catalogue::CaptureEnvironment() { Environment = backend_->WindowsEnvironment(); }

TObjects& Catalogue::List(TObjectType t) {
  switch (t) {
    case TObjectType::otTypeLib:
      return TLList;
    case TObjectType::otAppID:
      return AIList;
    case TObjectType::otInterface:
      return IFList;
    case TObjectType::otCLSID:
      break;
  }
  return OCList;
}

void Catalogue::ReadList(TObjectType t) {
  switch (t) {
    case TObjectType::otCLSID:
      ReadObjectClasses(OCList);
      return;
    case TObjectType::otTypeLib:
      ReadTypeLibraries(TLList);
      return;
    case TObjectType::otAppID:
      ReadAppIDs(AIList);
      return;
    case TObjectType::otInterface:
      ReadInterfaces(IFList);
      return;
  }
}

void Catalogue::Resolve(TObjectData& rec) {
  // The resolutions take G by reference and never change GUID; a copy keeps
  // that true even if one did.
  const Text G = rec.GUID;
  switch (rec.Typ) {
    case TObjectType::otCLSID:
      ResolveObjectClass(G, rec);
      return;
    case TObjectType::otTypeLib:
      ResolveTypeLibrary(G, rec);
      return;
    case TObjectType::otAppID:
      ResolveAppID(G, rec);
      return;
    case TObjectType::otInterface:
      ResolveInterface(G, rec);
      return;
  }
}

}  // namespace brannock
