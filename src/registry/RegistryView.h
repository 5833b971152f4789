#pragma once
#include <windows.h>

// Which registry a call reaches on 64-bit Windows, where HKEY_LOCAL_MACHINE\Software has a
// 64-bit and a 32-bit view (WOW6432Node). Default is the calling process's own view, and
// the only one there is on 32-bit Windows.
enum class RegistryView : REGSAM {
    Default = 0,
    Bits64 = KEY_WOW64_64KEY,
    Bits32 = KEY_WOW64_32KEY,
};

// One or two views, to go through with a range-for.
class RegistryViews {
public:
    explicit RegistryViews(RegistryView only) : views_{only, only}, count_(1) {}
    RegistryViews(RegistryView first, RegistryView second) : views_{first, second}, count_(2) {}
    const RegistryView* begin() const { return views_; }
    const RegistryView* end() const { return views_ + count_; }
    size_t size() const { return count_; }

private:
    RegistryView views_[2];
    size_t count_;
};

// Both views on 64-bit Windows, Default alone elsewhere: the machine-wide keys that browsers
// of either bitness must find are written to, and removed from, each of these.
RegistryViews EveryRegistryView();
