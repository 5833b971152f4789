#include "base/UserMessage.h"

#include "base/CommonControls.h"

int ShowMessage(HWND owner, const char* text, const char* title, UINT style) {
    LoadCommonControls();
    return MessageBoxA(owner, text, title, style);
}
