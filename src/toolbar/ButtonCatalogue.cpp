#include "toolbar/ButtonCatalogue.h"

namespace {

#define JUKELET_BUTTON(id, caption, icons, link, argument, command) \
    {id, caption, "\\" #icons "_default.ico", "\\" #icons "_hot.ico", "\\" #link ".lnk", argument},
const ToolbarButton Buttons[] = {
#include "toolbar/ButtonList.h"
};
#undef JUKELET_BUTTON

}  // namespace

const Span<ToolbarButton> ButtonCatalogue = Buttons;

const ToolbarButton* FindButton(std::string_view buttonId) {
    for (const ToolbarButton& button : ButtonCatalogue)
        if (buttonId == button.id) return &button;
    return nullptr;
}
