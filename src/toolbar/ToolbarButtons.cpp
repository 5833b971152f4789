#include "toolbar/ToolbarButtons.h"

#include "base/SharedState.h"
#include "toolbar/ButtonCatalogue.h"

namespace {

// 64-bit Windows keeps the machine's Internet Explorer keys apart for 32-bit and 64-bit
// programs, and either browser may be the one the user opens; the current user's keys are
// one for both.
RegistryViews ViewsOf(ScopeRoot root) {
    if (root == HKEY_LOCAL_MACHINE) return EveryRegistryView();
    return RegistryViews(RegistryView::Default);
}

struct NamedValue {
    const char* name;
    String data;
};

const char* RootName(ScopeRoot root) { return root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER"; }

const char* ViewName(RegistryView view) {
    switch (view) {
        case RegistryView::Bits64: return " (64-bit view)";
        case RegistryView::Bits32: return " (32-bit view)";
        default: return "";
    }
}

}  // namespace

String ButtonKeyPath(std::string_view buttonId) { return Concat(ExtensionsKey, "\\", buttonId); }

bool AddButton(ScopeRoot root, std::string_view buttonId) {
    const ToolbarButton* button = FindButton(buttonId);
    if (!button) return false;

    const String key = ButtonKeyPath(buttonId);
    // clang-format off
    const NamedValue values[] = {
        {"CLSID",           String(ExecButtonHandlerClsid)},
        {"Default Visible", String("Yes")},
        {"ButtonText",      String(button->text)},
        {"Exec",            Concat(LinksPath, button->link)},
        {"Icon",            Concat(IconsPath, button->icon)},
        {"HotIcon",         Concat(IconsPath, button->hotIcon)},
    };
    // clang-format on
    // Every write is tried, whatever became of the one before.
    bool ok = true;
    for (RegistryView view : ViewsOf(root)) {
        // Writing through another program's link would change what it points to.
        if (!FindRegistryLinkAlong(root, ExtensionsKey, buttonId, view, false).empty()) {
            ok = false;
            continue;
        }
        ok = CreateKey(root, key, view) && ok;
        for (const NamedValue& value : values) ok = SaveString(root, key, value.name, value.data, view) && ok;
    }
    return ok;
}

bool RemoveButton(ScopeRoot root, std::string_view buttonId) {
    if (!FindButton(buttonId)) return false;
    bool ok = true;
    for (RegistryView view : ViewsOf(root)) {
        // A link at the Extensions key would have the deletion reach into another program's keys.
        if (!FindRegistryLinkAlong(root, ExtensionsKey, "", view, false).empty()) {
            ok = false;
            continue;
        }
        ok = DeleteKeyTree(root, ButtonKeyPath(buttonId), view) && ok;
    }
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

String ButtonBlockingLink(ScopeRoot root, bool inside) {
    for (RegistryView view : ViewsOf(root))
        for (const ToolbarButton& button : ButtonCatalogue) {
            const String link = FindRegistryLinkAlong(root, ExtensionsKey, button.id, view, inside);
            if (!link.empty()) return Concat(RootName(root), "\\", link, ViewName(view));
        }
    return String();
}

bool AnyButtonInstalled(ScopeRoot root) {
    for (RegistryView view : ViewsOf(root))
        for (const ToolbarButton& button : ButtonCatalogue)
            if (KeyExists(root, ButtonKeyPath(button.id), view)) return true;
    return false;
}
