// The 32-bit view of HKEY_CLASSES_ROOT in a registry of 64-bit Windows, as
// the registry redirector composes it for 32-bit programs.
//
// Which keys are redirected follows Microsoft's list "Registry Keys Affected
// by WOW64" in its form since Windows 7 and Windows Server 2008 R2: below
// Software\Classes (of the machine and of the user alike) the keys CLSID,
// DirectShow, Interface, Media Type and MediaFoundation are redirected, so
// the 32-bit view reads them from Software\Classes\Wow6432Node; every other
// key (AppID, TypeLib, ProgIDs, file name extensions, ...) is shared and is
// the same key in both views. (Before Windows 7 all of Classes was
// redirected and partly reflected; that older list is not followed.)
//
// HKEY_CLASSES_ROOT is composed first (classes_root.h), so its Wow6432Node
// already holds the user's Wow6432Node keys laid over the machine's: the
// user's registrations win in each view. A registry without Wow6432Node
// keys has a 32-bit view made of the shared keys only. Wine marks some keys
// below Wow6432Node as symbolic links to their shared counterparts (TypeLib,
// AppId); links are not followed, and shared keys are taken from the common
// tree whatever Wow6432Node holds for them.
#pragma once

#include "registry/memory_store.h"

namespace brannock::registry {

constexpr TextView kWow64Node = u"Wow6432Node";

// Whether the 32-bit view reads this key directly below the classes root
// from Wow6432Node (any letter case).
bool IsRedirectedClassesKey(TextView name);

// The key `path` of the 32-bit view below the composed classes root
// `classes`; null when the view has no such key. An empty path is the root
// itself, whose subkeys are listed by Classes32RootNames.
MemoryStore::Node* FindClasses32(MemoryStore::Node& classes, TextView path);

// The subkeys of the 32-bit view's root in enumeration order: the shared
// keys of the common tree and the redirected keys of Wow6432Node.
TextList Classes32RootNames(const MemoryStore::Node& classes);

}  // namespace brannock::registry
