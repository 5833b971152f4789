#pragma once
#include <shlobj.h>

#include "runtime/String.h"

// The file-system path of an item the shell handed over, which is then freed with the
// shell's allocator; "" when the item is no folder or file of the file system.
String TakeItemPath(LPITEMIDLIST item);
