#include "ui/UiDriver.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "base/UniqueHandle.h"
#include "support/TestEnvironment.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"

ConfigurationRun::ConfigurationRun() : ConfigurationRun(NoWait{}) { window_ = WaitForWindow(ConfigurationCaption); }

ConfigurationRun::ConfigurationRun(NoWait) : process_(TestProcess::StartWithArguments(JukeletExe(), "")) {}

ConfigurationRun::ConfigurationRun(TestProcess started) : process_(std::move(started)) {
    window_ = WaitForWindow(ConfigurationCaption);
}

HWND ConfigurationRun::WaitForWindow(const char* title, const std::string& className) const {
    return WaitForTopWindow(process_.id(), className, title);
}

std::vector<HWND> ConfigurationRun::Windows(const char* title) const {
    std::vector<HWND> visible;
    for (HWND window : FindTopWindows(process_.id(), "", title))
        if (IsWindowVisible(window)) visible.push_back(window);
    return visible;
}

std::vector<HWND> ConfigurationRun::MessageBoxes() const {
    std::vector<HWND> boxes;
    for (HWND window : Windows(nullptr))
        if (ClassNameOf(window) == "#32770" && GetDlgItem(window, 0xFFFF)) boxes.push_back(window);
    return boxes;
}

HWND ConfigurationRun::Button(const std::string& caption) const {
    return FindDescendantByText(window_, "Button", caption);
}

HWND ConfigurationRun::PathBox() const { return FindWindowExA(window_, nullptr, "Edit", nullptr); }

RememberedWinamp::RememberedWinamp(const std::string& path) { RememberWinampPath(path); }
RememberedWinamp::~RememberedWinamp() { ClearJukeletSettings(); }

RECT RectInClient(HWND control, HWND window) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE ClientSize(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void SendKeys(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

}  // namespace

std::vector<HWND> ChildWindows(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(ThreadOf(window), &info)) return nullptr;
    return info.hwndFocus;
}

bool BringToFront(HWND window) {
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == window) return true;
            SetForegroundWindow(window);
            return false;
        },
        WindowTimeoutMs);
}

void PressKey(HWND window, WORD virtualKey, std::vector<WORD> modifiers) {
    BringToFront(window);
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(KeyInput(*it, true));
    SendKeys(inputs);
}

void TypeText(HWND window, const std::string& text) {
    BringToFront(window);
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        const WORD key = LOBYTE(scan);
        std::vector<WORD> modifiers;
        if (HIBYTE(scan) & 1) modifiers.push_back(VK_SHIFT);
        std::vector<INPUT> inputs;
        for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
        inputs.push_back(KeyInput(key, false));
        inputs.push_back(KeyInput(key, true));
        for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, true));
        SendKeys(inputs);
    }
}

namespace {

INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return input;
}

}  // namespace

void MovePointer(POINT screen) {
    INPUT move = MouseInput(screen, 0);
    SendInput(1, &move, sizeof(move));
}

void ParkPointer() {
    // Wine moves the X pointer only when the cursor it knows moves, and the two can differ
    // (the X pointer then reports moves to a window that opens under it): a step aside first.
    MovePointer(POINT{1, 1});
    MovePointer(POINT{0, 0});
    WaitUntil(
        [] {
            POINT at = {};
            return GetCursorPos(&at) && at.x == 0 && at.y == 0;
        },
        WindowTimeoutMs);
}

void ClickAt(POINT screen) {
    INPUT click[] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                     MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(3, click, sizeof(INPUT));
}

bool ClickCloseBox(HWND window) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    // Along the middle of the title bar, from the right, to the first point that is the close box.
    const int y = (frame.top + client.y) / 2;
    for (int x = frame.right - 1; x > frame.left; --x) {
        DWORD_PTR hit = HTNOWHERE;
        SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit);
        if (hit != HTCLOSE) continue;
        BringToFront(window);
        ClickAt(POINT{x - 4, y});
        return true;
    }
    return false;
}

PixelCanvas::PixelCanvas(int width, int height, HDC compatibleWith)
    : width_(width), height_(height), dc_(CreateCompatibleDC(compatibleWith)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_.reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    oldBitmap_ = SelectObject(dc_, bitmap_.get());
}

PixelCanvas::~PixelCanvas() {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
}

ScreenImage PixelCanvas::Image() const {
    GdiFlush();
    ScreenImage image;
    image.width = width_;
    image.height = height_;
    const auto* bgra = static_cast<const BYTE*>(bits_);
    image.pixels.resize(static_cast<size_t>(width_) * height_);
    for (size_t i = 0; bgra && i < image.pixels.size(); ++i)
        image.pixels[i] = RGB(bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4]);
    return image;
}

ScreenImage CaptureScreen(const RECT& screenRect) {
    const int width = screenRect.right - screenRect.left;
    const int height = screenRect.bottom - screenRect.top;
    if (width <= 0 || height <= 0) return ScreenImage{};
    HDC screen = GetDC(nullptr);
    PixelCanvas canvas(width, height, screen);
    BitBlt(canvas.dc(), 0, 0, width, height, screen, screenRect.left, screenRect.top, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
    return canvas.Image();
}

bool SaveBitmap(const ScreenImage& image, const std::string& path) {
    const int rowBytes = (image.width * 3 + 3) & ~3;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = image.width;
    info.biHeight = image.height;  // bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rowBytes * image.height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    std::string row(static_cast<size_t>(rowBytes), '\0');
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const COLORREF pixel = image.At(x, y);
            row[x * 3] = static_cast<char>(GetBValue(pixel));
            row[x * 3 + 1] = static_cast<char>(GetGValue(pixel));
            row[x * 3 + 2] = static_cast<char>(GetRValue(pixel));
        }
        out.write(row.data(), rowBytes);
    }
    return static_cast<bool>(out);
}

ScreenImage CaptureClient(HWND control) {
    RECT client = {};
    GetClientRect(control, &client);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return CaptureScreen(client);
}

void WaitForPaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, WindowTimeoutMs, &ignored);
    // The window's drawing reaches the screen once its thread is idle again.
    Sleep(100);
}

COLORREF Background(const ScreenImage& image) {
    std::map<COLORREF, int> counts;
    for (COLORREF pixel : image.pixels) ++counts[pixel];
    COLORREF most = 0;
    int best = -1;
    for (const auto& [colour, count] : counts)
        if (count > best) best = count, most = colour;
    return most;
}

RECT InkBounds(const ScreenImage& image, COLORREF background) {
    RECT bounds = {image.width, image.height, 0, 0};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y) != background) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    if (bounds.right == 0) return RECT{};
    return bounds;
}

int LongestInkRun(const ScreenImage& image, COLORREF background) {
    int longest = 0;
    for (int y = 0; y < image.height; ++y) {
        int run = 0;
        for (int x = 0; x < image.width; ++x) {
            run = image.At(x, y) != background ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

bool CaptionLooksActive(HWND window) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    // The caption's second row of pixels, from border to border: above any text.
    const int border = client.x - frame.left;
    const int row = frame.top + border + 1;
    const ScreenImage strip = CaptureScreen(RECT{frame.left + border, row, frame.right - border, row + 1});
    int bluish = 0;
    for (COLORREF pixel : strip.pixels) bluish += GetBValue(pixel) > GetRValue(pixel) + 40;
    return bluish * 2 > strip.width;
}

namespace {

ScreenImage RenderIcon(HICON icon, int size, COLORREF background) {
    PixelCanvas canvas(size, size);
    GdiObject brush(CreateSolidBrush(background));
    RECT all = {0, 0, size, size};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(brush.get()));
    DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return canvas.Image();
}

bool Near(COLORREF p, COLORREF q) {
    return abs(GetRValue(p) - GetRValue(q)) + abs(GetGValue(p) - GetGValue(q)) + abs(GetBValue(p) - GetBValue(q)) <= 48;
}

}  // namespace

double IconMismatch(const ScreenImage& area, HICON icon, int size) {
    // Pixels that come out the same on two backgrounds are the icon's opaque ones.
    const ScreenImage onMagenta = RenderIcon(icon, size, RGB(255, 0, 255));
    const ScreenImage onGreen = RenderIcon(icon, size, RGB(0, 255, 0));
    std::vector<int> opaque;
    for (int i = 0; i < size * size; ++i)
        if (onMagenta.pixels[i] == onGreen.pixels[i]) opaque.push_back(i);
    if (opaque.empty()) return 1.0;
    double best = 1.0;
    for (int top = 0; top + size <= area.height; ++top)
        for (int left = 0; left + size <= area.width; ++left) {
            size_t differing = 0;
            for (int i : opaque)
                if (!Near(area.At(left + i % size, top + i / size), onMagenta.pixels[i])) ++differing;
            best = std::min(best, static_cast<double>(differing) / static_cast<double>(opaque.size()));
        }
    return best;
}

namespace {

BoxIcon JudgeIcon(const ScreenImage& shown) {
    const std::pair<BoxIcon, LPCSTR> candidates[] = {{BoxIcon::Information, IDI_INFORMATION},
                                                     {BoxIcon::Exclamation, IDI_EXCLAMATION},
                                                     {BoxIcon::Question, IDI_QUESTION},
                                                     {BoxIcon::Error, IDI_ERROR}};
    BoxIcon best = BoxIcon::Other;
    double bestMismatch = 0.05;
    for (const auto& [kind, resource] : candidates) {
        const int size = std::min(shown.width, shown.height);
        const double mismatch = IconMismatch(shown, LoadIconA(nullptr, resource), size);
        if (mismatch < bestMismatch) {
            bestMismatch = mismatch;
            best = kind;
        }
    }
    return best;
}

}  // namespace

BoxIcon IconShown(HWND box) {
    HWND icon = GetDlgItem(box, 0x0440);
    if (!icon || !IsWindowVisible(icon)) return BoxIcon::None;
    WaitForPaint(box);
    // A box still being drawn shows no known icon yet.
    BoxIcon judged = BoxIcon::Other;
    WaitUntil([&] { return (judged = JudgeIcon(CaptureClient(icon))) != BoxIcon::Other; }, 2000);
    return judged;
}

const char* IconName(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None: return "no icon";
        case BoxIcon::Information: return "information";
        case BoxIcon::Exclamation: return "exclamation";
        case BoxIcon::Question: return "question";
        case BoxIcon::Error: return "error";
        case BoxIcon::Other: return "an unknown icon";
    }
    return "?";
}

RegistryValueOverride::RegistryValueOverride(HKEY root, std::string path, std::string name)
    : root_(root), path_(std::move(path)), name_(std::move(name)) {
    DWORD size = 0;
    if (RegGetValueA(root_, path_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type_, nullptr, &size) !=
        ERROR_SUCCESS)
        return;
    data_.resize(size);
    existed_ = RegGetValueA(root_, path_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type_, data_.data(),
                            &size) == ERROR_SUCCESS;
    data_.resize(size);
}

RegistryValueOverride::~RegistryValueOverride() {
    if (existed_)
        RegSetKeyValueA(root_, path_.c_str(), name_.c_str(), type_, data_.data(), static_cast<DWORD>(data_.size()));
    else
        RegDeleteKeyValueA(root_, path_.c_str(), name_.c_str());
}

void RegistryValueOverride::SetDword(DWORD value) {
    RegSetKeyValueA(root_, path_.c_str(), name_.c_str(), REG_DWORD, &value, sizeof(value));
}

void RegistryValueOverride::SetString(const std::string& value) {
    RegSetKeyValueA(root_, path_.c_str(), name_.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

namespace {

constexpr const char* MailClass = "Software\\Classes\\mailto";
constexpr const char* WebClass = "Software\\Classes\\http";
constexpr const char* OpenCommand = "\\shell\\open\\command";

}  // namespace

FakeLinkHandlers::FakeLinkHandlers()
    : log_(TempFolder() + "\\links-" + std::to_string(GetCurrentProcessId()) + ".log"),
      mailExisted_(RegistryKeyPresent(HKEY_LOCAL_MACHINE, MailClass)),
      webExisted_(RegistryKeyPresent(HKEY_LOCAL_MACHINE, WebClass)),
      mail_(HKEY_LOCAL_MACHINE, std::string(MailClass) + OpenCommand, ""),
      web_(HKEY_LOCAL_MACHINE, std::string(WebClass) + OpenCommand, "") {
    DeleteFileA(log_.c_str());
    Mend();
}

FakeLinkHandlers::~FakeLinkHandlers() {
    // Protocols the prefix did not know go again; the others get their command back.
    if (!mailExisted_) DeleteRegistryTree(HKEY_LOCAL_MACHINE, MailClass);
    if (!webExisted_) DeleteRegistryTree(HKEY_LOCAL_MACHINE, WebClass);
    DeleteFileA(log_.c_str());
}

void FakeLinkHandlers::Register(const std::string& command) {
    mail_.SetString(command);
    web_.SetString(command);
    for (const char* protocol : {MailClass, WebClass})
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, protocol, "URL Protocol", REG_SZ, "", 1);
}

std::vector<std::string> FakeLinkHandlers::Links() const {
    std::vector<std::string> links;
    std::ifstream file(log_);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        links.push_back(line);
    }
    return links;
}

void FakeLinkHandlers::Mend() { Register("\"" + BinFolder() + "\\link_recorder.exe\" \"" + log_ + "\" \"%1\""); }

void FakeLinkHandlers::Break() { Register("\"" + BinFolder() + "\\no such program.exe\" \"%1\""); }

namespace {

// Creates the Extensions key afresh, volatile or not.
void CreateExtensionsKey(HKEY root, RegistryView view, DWORD options) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, ExtensionsKey, 0, nullptr, options, AccessIn(view, KEY_ALL_ACCESS), nullptr, &key, nullptr);
    RegKey owned(key);
}

}  // namespace

UnwritableExtensions::UnwritableExtensions(HKEY root, RegistryView view)
    : root_(root), view_(view), existed_(RegistryKeyPresent(root, ExtensionsKey, view)) {
    DeleteRegistryTree(root_, ExtensionsKey, view_);
    CreateExtensionsKey(root_, view_, REG_OPTION_VOLATILE);
}

UnwritableExtensions::~UnwritableExtensions() {
    DeleteRegistryTree(root_, ExtensionsKey, view_);
    if (existed_) CreateExtensionsKey(root_, view_, REG_OPTION_NON_VOLATILE);
}

RegistryLink::RegistryLink(HKEY root, std::string path, RegistryView view, const std::wstring& target)
    : root_(root), path_(std::move(path)), view_(view) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                        AccessIn(view_, KEY_ALL_ACCESS | KEY_CREATE_LINK), nullptr, &created, nullptr) != ERROR_SUCCESS)
        return;
    const RegKey key(created);
    // The target is an NT registry path, stored without its terminating NUL.
    created_ =
        RegSetValueExW(key.get(), L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.c_str()),
                       static_cast<DWORD>(target.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

RegistryLink::~RegistryLink() {
    // Deleting it by name would delete its target: the link itself is opened and deleted.
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root_, path_.c_str(), REG_OPTION_OPEN_LINK, AccessIn(view_, DELETE), &opened) != ERROR_SUCCESS)
        return;
    const RegKey key(opened);
    using NtDeleteKeyFn = LONG(NTAPI*)(HANDLE);
    auto ntDeleteKey = reinterpret_cast<NtDeleteKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
    if (ntDeleteKey) ntDeleteKey(key.get());
}

std::vector<std::string> InstalledButtonKeys(HKEY root, RegistryView view) {
    std::vector<std::string> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, ExtensionsKey, 0, AccessIn(view, KEY_READ), &opened) != ERROR_SUCCESS) return names;
    const RegKey key(opened);
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (FindButton(name)) names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveButtonKeys() {
    for (const ToolbarButton& button : ButtonCatalogue) {
        const std::string key(ButtonKeyPath(button.id));
        DeleteRegistryTree(HKEY_CURRENT_USER, key);
        for (const NamedView& view : BothViews) DeleteRegistryTree(HKEY_LOCAL_MACHINE, key, view.view);
    }
}
