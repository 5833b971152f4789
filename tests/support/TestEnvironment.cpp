#include "support/TestEnvironment.h"

#include <fstream>
#include <sstream>

#include "base/Paths.h"
#include "base/UniqueHandle.h"
#include "support/TestWindows.h"
#include "winamp/Settings.h"

std::string BinFolder() {
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, length);
    return exe.substr(0, exe.rfind('\\'));
}

std::string JukeletExe() { return BinFolder() + "\\Jukelet.exe"; }
std::string FakeWinampExe() { return BinFolder() + "\\fake_winamp.exe"; }

std::string TempFolder() {
    char path[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, path);
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

PlantedFile::PlantedFile(const std::string& path) : path_(path) {
    const std::string folder = path_.substr(0, path_.rfind('\\'));
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES && CreateDirectoryA(folder.c_str(), nullptr))
        createdFolder_ = folder;
}

PlantedFile::PlantedFile(PlantedFile&& other) noexcept
    : path_(std::move(other.path_)), createdFolder_(std::move(other.createdFolder_)), planted_(other.planted_) {
    other.planted_ = false;
    other.createdFolder_.clear();
}

PlantedFile PlantedFile::CopyOf(const std::string& source, const std::string& path) {
    PlantedFile file(path);
    file.planted_ = CopyFileA(source.c_str(), path.c_str(), FALSE) != FALSE;
    return file;
}

PlantedFile PlantedFile::WithText(const std::string& path, const std::string& text) {
    PlantedFile file(path);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return file;
    DWORD written = 0;
    file.planted_ =
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(handle);
    return file;
}

PlantedFile::~PlantedFile() {
    if (planted_) DeleteFileA(path_.c_str());
    if (!createdFolder_.empty()) RemoveDirectoryA(createdFolder_.c_str());
}

namespace {

RegKey OpenKey(HKEY root, std::string_view path, RegistryView view, REGSAM rights) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, std::string(path).c_str(), 0, AccessIn(view, rights), &key) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

}  // namespace

void DeleteRegistryTree(HKEY root, std::string_view path, RegistryView view) {
    if (RegKey key = OpenKey(root, path, view, KEY_ALL_ACCESS)) RegDeleteTreeA(key.get(), nullptr);
    RegDeleteKeyExA(root, std::string(path).c_str(), static_cast<REGSAM>(view), 0);
}

bool RegistryKeyPresent(HKEY root, std::string_view path, RegistryView view) {
    return static_cast<bool>(OpenKey(root, path, view, KEY_READ));
}

std::string RegistryString(HKEY root, std::string_view path, const char* name, RegistryView view) {
    RegKey key = OpenKey(root, path, view, KEY_QUERY_VALUE);
    char data[2048] = "";
    DWORD size = sizeof(data) - 1;
    if (!key || RegGetValueA(key.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    return data;
}

bool WriteRegistryString(HKEY root, std::string_view path, const char* name, const std::string& data,
                         RegistryView view) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, std::string(path).c_str(), 0, nullptr, 0, AccessIn(view, KEY_ALL_ACCESS), nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        return false;
    const RegKey key(created);
    return RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

void DeleteRegistryValue(HKEY root, std::string_view path, const char* name, RegistryView view) {
    if (RegKey key = OpenKey(root, path, view, KEY_SET_VALUE)) RegDeleteValueA(key.get(), name);
}

PlantedKey::PlantedKey(HKEY root, std::string path, RegistryView view)
    : root_(root), path_(std::move(path)), view_(view) {
    DeleteRegistryTree(root_, path_, view_);
}

PlantedKey::~PlantedKey() { DeleteRegistryTree(root_, path_, view_); }

bool PlantedKey::WriteString(const char* name, const std::string& data, const std::string& subkey) const {
    return WriteRegistryString(root_, subkey.empty() ? path_ : path_ + "\\" + subkey, name, data, view_);
}

PlantedValue::PlantedValue(HKEY root, std::string path, const char* name, const std::string& data, RegistryView view)
    : root_(root),
      path_(std::move(path)),
      name_(name),
      view_(view),
      planted_(WriteRegistryString(root_, path_, name, data, view_)) {}

PlantedValue::~PlantedValue() { DeleteRegistryValue(root_, path_, name_.c_str(), view_); }

void ClearJukeletSettings() { DeleteRegistryTree(HKEY_CURRENT_USER, SettingsKey); }

void ClearWinampAssociation() {
    // The association is the file type's DefaultIcon: the file type goes with it.
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, TrimFileName(WinampAssociationKey));
}

void RememberWinampPath(const std::string& path) {
    WriteRegistryString(HKEY_CURRENT_USER, SettingsKey, WinampExeValue, path);
}

std::string RememberedWinampPath() {
    char buffer[4096] = "";
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, SettingsKey, WinampExeValue, RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

namespace {

// Every behaviour the stand-in reads, cleared before and after each test.
constexpr const char* StandInOptions[] = {"FAKEWINAMP_WINDOW_DELAY_MS", "FAKEWINAMP_LOADING_MS", "FAKEWINAMP_HANG_MS",
                                          "FAKEWINAMP_PLAY_DIALOG_MS",  "FAKEWINAMP_TRAY",       "FAKEWINAMP_LINGER_MS",
                                          "FAKEWINAMP_HAND_OVER",       "FAKEWINAMP_LAUNCH"};

void ClearStandInOptions() {
    for (const char* option : StandInOptions) SetEnvironmentVariableA(option, nullptr);
}

}  // namespace

StandIn::StandIn(std::string path) : path_(std::move(path)), exe_(PlantedFile::CopyOf(FakeWinampExe(), path_)) {
    log_ = TempFolder() + "\\fakewinamp-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("FAKEWINAMP_LOG", log_.c_str());
    ClearStandInOptions();
}

StandIn::~StandIn() {
    started_.clear();
    // Those the program under test started itself are known only by their image name.
    KillProcessesNamed(path_.substr(path_.rfind('\\') + 1));
    SetEnvironmentVariableA("FAKEWINAMP_LOG", nullptr);
    ClearStandInOptions();
    DeleteFileA(log_.c_str());
}

void StandIn::Set(const char* variable, DWORD value) {
    SetEnvironmentVariableA(variable, std::to_string(value).c_str());
}

void StandIn::SetHandOverTo(const StandIn& other) {
    SetEnvironmentVariableA("FAKEWINAMP_HAND_OVER", other.path().c_str());
}

void StandIn::SetLauncherOf(const StandIn& other) {
    SetEnvironmentVariableA("FAKEWINAMP_LAUNCH", other.path().c_str());
}

void StandIn::Start(int showCommand) {
    started_.push_back(TestProcess::Start(path_, "\"" + path_ + "\"", showCommand));
}

HWND StandIn::StartAndWait(int showCommand) {
    Start(showCommand);
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowA("Winamp v1.x", nullptr)) != nullptr; }, 10000);
    WaitForLogLine("window", 10000);
    return window;
}

std::vector<std::string> StandIn::Log() const { return ReadLogLines(log_); }

std::vector<std::string> ReadLogLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string StandIn::Record(const std::string& prefix) const {
    for (const std::string& line : Log())
        if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
    return {};
}

std::vector<int> StandIn::Commands() const {
    std::vector<int> commands;
    for (const std::string& line : Log())
        if (line.rfind("command ", 0) == 0) commands.push_back(std::stoi(line.substr(8)));
    return commands;
}

int StandIn::StartCount() const {
    int count = 0;
    for (const std::string& line : Log())
        if (line.rfind("start ", 0) == 0) ++count;
    return count;
}

bool StandIn::WaitForCommands(size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Commands().size() >= count; }, timeoutMs);
}

bool StandIn::WaitForLogLine(const std::string& prefix, DWORD timeoutMs) const {
    return WaitUntil(
        [&] {
            for (const std::string& line : Log())
                if (line.rfind(prefix, 0) == 0) return true;
            return false;
        },
        timeoutMs);
}

bool RunJukelet(const std::string& arguments, DWORD timeoutMs, DWORD* exitCode) {
    TestProcess jukelet = TestProcess::StartWithArguments(JukeletExe(), arguments);
    if (!jukelet) return false;
    bool ended = jukelet.WaitForExit(timeoutMs);
    if (exitCode) *exitCode = jukelet.ExitCode();
    return ended;
}

bool RunJukeletAndDismiss(const std::string& arguments, DWORD timeoutMs) {
    TestProcess jukelet = TestProcess::StartWithArguments(JukeletExe(), arguments);
    if (!jukelet) return false;
    WaitUntil(
        [&] {
            if (!jukelet.IsRunning()) return true;
            for (HWND window : FindTopWindows(jukelet.id(), "", ConfigurationCaption))
                if (IsWindowVisible(window)) {
                    PostMessageA(window, WM_CLOSE, 0, 0);
                    return true;
                }
            return false;
        },
        timeoutMs);
    return jukelet.WaitForExit(timeoutMs);
}
