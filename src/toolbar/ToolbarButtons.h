#pragma once
#include "registry/Registry.h"

// The extension key of one button, relative to its root.
String ButtonKeyPath(std::string_view buttonId);

// Writes one catalogue button's extension key under root (under HKEY_LOCAL_MACHINE, in each
// registry view of 64-bit Windows); true when every write succeeded. An identifier outside
// the catalogue writes nothing and gives false.
bool AddButton(ScopeRoot root, std::string_view buttonId);

// Deletes one catalogue button's extension key under root, with whatever else was written
// inside it, from every view AddButton writes; true when the key is gone afterwards. An
// identifier outside the catalogue deletes nothing and gives false.
bool RemoveButton(ScopeRoot root, std::string_view buttonId);

// Every catalogue button, in catalogue order; true when all of them succeeded.
bool AddAllButtons(ScopeRoot root);
bool RemoveAllButtons(ScopeRoot root);

// Where another program's registry link stands in a catalogue button's place under root:
// at the Extensions key or the button's key (what neither AddButton nor RemoveButton goes
// through) or, with `inside`, anywhere in the button's key (what RemoveButton will not
// delete). The root's name and key path, and the view on 64-bit Windows; "" when there is
// none.
String ButtonBlockingLink(ScopeRoot root, bool inside);

// True when any catalogue button's key exists under root, in any view AddButton writes.
bool AnyButtonInstalled(ScopeRoot root);
