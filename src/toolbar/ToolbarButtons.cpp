#include "toolbar/ToolbarButtons.h"

#include "base/SharedState.h"
#include "toolbar/ButtonCatalogue.h"

std::string ButtonKeyPath(const std::string& buttonId) {
    return std::string(ExtensionsKey) + "\\" + buttonId;
}

bool AddButton(ScopeRoot root, const std::string& buttonId) {
    const ToolbarButton* button = FindButton(buttonId);
    if (!button) return false;

    const std::string key = ButtonKeyPath(buttonId);
    const std::pair<const char*, std::string> values[] = {
        {"CLSID", ExecButtonHandlerClsid},
        {"Default Visible", "Yes"},
        {"ButtonText", button->text},
        {"Exec", LinksPath + button->link},
        {"Icon", IconsPath + button->icon},
        {"HotIcon", IconsPath + button->hotIcon},
    };
    // Every write is tried, whatever became of the one before.
    bool ok = CreateKey(root, key);
    for (const auto& [name, data] : values) ok = SaveString(root, key, name, data) && ok;
    return ok;
}

bool RemoveButton(ScopeRoot root, const std::string& buttonId) {
    if (!FindButton(buttonId)) return false;
    return DeleteKey(root, ButtonKeyPath(buttonId));
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
    for (const ToolbarButton& button : ButtonCatalogue)
        if (KeyExists(root, ButtonKeyPath(button.id))) return true;
    return false;
}
