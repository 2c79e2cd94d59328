// The four kinds of objects in one table: for each, the category key below
// HKEY_CLASSES_ROOT, the catalogue's list, its list builder and its detail
// resolution, and the root of the object tree that shows it (caption, image
// and the emblem the image shows). Code that treats the kinds alike looks them up here rather than
// switching on TObjectType.
#pragma once

#include <array>

#include "catalogue/catalogue.h"

namespace brannock {

// What a kind's images show, in a folder on the root and alone on each
// object; object classes and application IDs share one.
enum class ObjectEmblem { Object, TypeLibrary, Interface };

struct ObjectKind {
  TObjectType typ;
  const char16_t* keyName;      // "CLSID", "TypeLib", "AppID", "Interface"
  const char16_t* rootCaption;  // the root of the object tree
  int rootImage;                // the root's image; its objects have rootImage + 4
  ObjectEmblem emblem;
  TObjects Catalogue::*list;
  void (Catalogue::*readRecords)(RecordSink& sink);
  void (Catalogue::*resolve)(const Text& G, TObjectData& rec);
};

// Indexed by TObjectType.
inline constexpr std::array<ObjectKind, 4> kObjectKinds = {{
    {TObjectType::otCLSID, u"CLSID", u"Object Classes", 0, ObjectEmblem::Object, &Catalogue::OCList,
     &Catalogue::ReadObjectClassRecords, &Catalogue::ResolveObjectClass},
    {TObjectType::otTypeLib, u"TypeLib", u"Type Libraries", 1, ObjectEmblem::TypeLibrary, &Catalogue::TLList,
     &Catalogue::ReadTypeLibraryRecords, &Catalogue::ResolveTypeLibrary},
    {TObjectType::otAppID, u"AppID", u"Application IDs", 2, ObjectEmblem::Object, &Catalogue::AIList,
     &Catalogue::ReadAppIDRecords, &Catalogue::ResolveAppID},
    {TObjectType::otInterface, u"Interface", u"Interfaces", 3, ObjectEmblem::Interface, &Catalogue::IFList,
     &Catalogue::ReadInterfaceRecords, &Catalogue::ResolveInterface},
}};

constexpr bool IndexedByType() {
  for (size_t i = 0; i < kObjectKinds.size(); ++i)
    if (static_cast<size_t>(kObjectKinds[i].typ) != i) return false;
  return true;
}
static_assert(IndexedByType());

constexpr const ObjectKind& KindOf(TObjectType typ) { return kObjectKinds[static_cast<size_t>(typ)]; }

// The order of the object tree's roots, which is also the order in which
// every listing across the four collections goes through them.
inline constexpr std::array<TObjectType, 4> kTreeOrder = {TObjectType::otCLSID, TObjectType::otAppID,
                                                          TObjectType::otTypeLib, TObjectType::otInterface};

}  // namespace brannock
