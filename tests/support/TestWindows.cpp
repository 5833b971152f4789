#include "support/TestWindows.h"

#include "support/TestProcess.h"

namespace {

struct TopWindowQuery {
    DWORD processId;
    const std::string* className;
    const char* title;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<TopWindowQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (query->processId && owner != query->processId) return TRUE;
    if (!query->className->empty() && ClassNameOf(window) != *query->className) return TRUE;
    if (query->title && WindowText(window) != query->title) return TRUE;
    query->found->push_back(window);
    return TRUE;
}

struct DescendantQuery {
    const std::string* className;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<DescendantQuery*>(parameter);
    if (ClassNameOf(window) == *query->className && WindowText(window) == *query->text) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

struct IdQuery {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControlId(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<IdQuery*>(parameter);
    if (GetDlgCtrlID(window) != query->id) return TRUE;
    query->found = window;
    return FALSE;
}

}  // namespace

std::vector<HWND> FindTopWindows(DWORD processId, const std::string& className, const char* title) {
    std::vector<HWND> found;
    TopWindowQuery query{processId, &className, title, &found};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&query));
    return found;
}

HWND WaitForTopWindow(DWORD processId, const std::string& className, const char* title, DWORD timeoutMs) {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : FindTopWindows(processId, className, title))
                if (IsWindowVisible(window)) return (result = window) != nullptr;
            return false;
        },
        timeoutMs);
    return result;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    text.resize(copied);
    return text;
}

std::string ClassNameOf(HWND window) {
    char name[256] = "";
    int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? length : 0);
}

HWND FindDescendant(HWND parent, int controlId) {
    if (HWND direct = GetDlgItem(parent, controlId)) return direct;
    IdQuery query{controlId, nullptr};
    EnumChildWindows(parent, MatchControlId, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND FindDescendantByText(HWND parent, const std::string& className, const std::string& text) {
    DescendantQuery query{&className, &text, nullptr};
    EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.window = box;
    view.title = WindowText(box);
    if (HWND text = GetDlgItem(box, 0xFFFF)) view.text = WindowText(text);
    HWND icon = GetDlgItem(box, 0x0440);
    view.hasIcon = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button && IsWindowVisible(button)) view.buttons.push_back(id);
    }
    return view;
}

HWND WaitForMessageBox(DWORD processId, const char* title, DWORD timeoutMs) {
    return WaitForTopWindow(processId, "#32770", title, timeoutMs);
}

void PressDialogButton(HWND dialog, int id) {
    if (HWND button = GetDlgItem(dialog, id))
        ClickButton(button);
    else
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

namespace {

HWND OpenDialogFileNameBox(HWND dialog) {
    HWND combo = FindDescendant(dialog, 0x47C);
    HWND edit = nullptr;
    if (combo) edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    if (!edit && combo) {
        HWND inner = FindWindowExA(combo, nullptr, "ComboBox", nullptr);
        if (inner) edit = FindWindowExA(inner, nullptr, "Edit", nullptr);
    }
    if (!edit) edit = FindDescendant(dialog, 0x480);  // the plain edit of older layouts
    return edit;
}

}  // namespace

bool ChooseInOpenDialog(HWND dialog, const std::string& path) {
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    return ChooseInOpenDialog(dialog, wide);
}

bool ChooseInOpenDialog(HWND dialog, const std::wstring& path) {
    HWND edit = OpenDialogFileNameBox(dialog);
    if (!edit) return false;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PressDialogButton(dialog, IDOK);
    return true;
}

std::vector<std::string> OpenDialogFilters(HWND dialog) {
    std::vector<std::string> filters;
    HWND combo = FindDescendant(dialog, 0x470);
    if (!combo) return filters;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t item[512] = L"";
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, item, -1, narrow, sizeof(narrow), nullptr, nullptr);
        filters.push_back(narrow);
    }
    return filters;
}
