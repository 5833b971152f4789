#pragma once
#include "runtime/String.h"

#include "base/UniqueHandle.h"

// A named mutex shared by the programs of this user's session. `name` carries its
// namespace, as in "Local\Orvalle.Jukelet.Configuration". Namespaces exist from Windows
// 2000 (Terminal Services) on: where the name cannot be created as given (Windows 9x, NT4),
// the plain name after the namespace is used instead. `alreadyExisted` tells whether
// another process had created it first. An empty handle when neither could be created.
KernelHandle CreateSessionMutex(std::string_view name, bool* alreadyExisted = nullptr);
