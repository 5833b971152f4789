#include "toolbar/ToolbarButtons.h"

#include <vector>

#include "base/SharedState.h"
#include "toolbar/ButtonCatalogue.h"

namespace {

// 64-bit Windows keeps the machine's Internet Explorer keys apart for 32-bit and 64-bit
// programs, and either browser may be the one the user opens; the current user's keys are
// one for both.
std::vector<RegistryView> ViewsOf(ScopeRoot root) {
    if (root == HKEY_LOCAL_MACHINE) return EveryRegistryView();
    return {RegistryView::Default};
}

}  // namespace

std::string ButtonKeyPath(const std::string& buttonId) { return std::string(ExtensionsKey) + "\\" + buttonId; }

bool AddButton(ScopeRoot root, const std::string& buttonId) {
    const ToolbarButton* button = FindButton(buttonId);
    if (!button) return false;

    const std::string key = ButtonKeyPath(buttonId);
    const std::pair<const char*, std::string> values[] = {
        {"CLSID", ExecButtonHandlerClsid},  {"Default Visible", "Yes"},
        {"ButtonText", button->text},       {"Exec", LinksPath + button->link},
        {"Icon", IconsPath + button->icon}, {"HotIcon", IconsPath + button->hotIcon},
    };
    // Every write is tried, whatever became of the one before.
    bool ok = true;
    for (RegistryView view : ViewsOf(root)) {
        ok = CreateKey(root, key, view) && ok;
        for (const auto& [name, data] : values) ok = SaveString(root, key, name, data, view) && ok;
    }
    return ok;
}

bool RemoveButton(ScopeRoot root, const std::string& buttonId) {
    if (!FindButton(buttonId)) return false;
    bool ok = true;
    for (RegistryView view : ViewsOf(root)) ok = DeleteKeyTree(root, ButtonKeyPath(buttonId), view) && ok;
    return ok;
}

bool AddAllButtons(ScopeRoot root) {
    bool ok = true;
    for (const ToolbarButton& button : ButtonCatalogue) ok = AddButton(root, button.id) && ok;
    return ok;
}

bool RemoveAllButtons(ScopeRoot root) {
    bool ok = true;
    for (const ToolbarButton& button : ButtonCatalogue) ok = RemoveButton(root, button.id) && ok;
    return ok;
}

bool AnyButtonInstalled(ScopeRoot root) {
    for (RegistryView view : ViewsOf(root))
        for (const ToolbarButton& button : ButtonCatalogue)
            if (KeyExists(root, ButtonKeyPath(button.id), view)) return true;
    return false;
}
