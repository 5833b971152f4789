#include "Prompt.h"

#include "base/UserMessage.h"

int Prompt::Ask(std::string_view text, UINT style, int silentAnswer) const {
    if (silent_) return silentAnswer;
    // Without an owner window, the box must still come to the front.
    return ShowMessage(owner_, String(text).c_str(), title_, style | (owner_ ? 0 : MB_SETFOREGROUND));
}
