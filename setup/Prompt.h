#pragma once
#include <windows.h>

#include "runtime/String.h"

// How a run of setup or the uninstaller talks to its user: message boxes over its window,
// or, run silently (/S), nothing at all, each question taking the answer given for that case.
class Prompt {
public:
    Prompt(bool silent, const char* title) : silent_(silent), title_(title) {}

    bool silent() const { return silent_; }
    void SetOwner(HWND owner) { owner_ = owner; }

    // The button the user pressed; `silentAnswer` unasked when silent.
    int Ask(std::string_view text, UINT style, int silentAnswer) const;
    void Tell(std::string_view text, UINT style) const { Ask(text, style, IDOK); }

private:
    bool silent_;
    const char* title_;
    HWND owner_ = nullptr;
};
