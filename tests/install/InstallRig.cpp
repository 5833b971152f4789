#include "install/InstallRig.h"

#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "base/UniqueHandle.h"
#include "registry/Registry.h"
#include "support/TestEnvironment.h"
#include "support/TestWindows.h"
#include "toolbar/ButtonCatalogue.h"
#include "toolbar/ToolbarButtons.h"

namespace {

// The copy of the uninstaller that does the work from %TEMP% (setup/UninstallerCopy.h).
constexpr const char* UninstallerCopy = "Jukelet-Uninstall.exe";
// What every toolbar shortcut starts.
constexpr const char* ShortcutProgram = "Jukelet.exe";

struct FindTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) { FindClose(handle); }
};
using FindHandle = UniqueHandle<FindTraits>;

class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

template <typename Interface>
struct ComRelease {
    void operator()(Interface* object) const { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease<Interface>>;

std::wstring Widen(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string KnownFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA entry = {};
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) return;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(find.get(), &entry));
}

void DeleteFolderTree(const std::string& folder) {
    ForEachEntry(folder, [&](const std::string& name, bool isFolder) {
        const std::string path = folder + "\\" + name;
        if (isFolder)
            DeleteFolderTree(path);
        else
            DeleteFileA(path.c_str());
    });
    RemoveDirectoryA(folder.c_str());
}

void CollectTree(const std::string& folder, const std::string& prefix, std::vector<std::string>& tree) {
    ForEachEntry(folder, [&](const std::string& name, bool isFolder) {
        tree.push_back(prefix + name + (isFolder ? "\\" : ""));
        if (isFolder) CollectTree(folder + "\\" + name, prefix + name + "\\", tree);
    });
}

uint32_t LittleEndian(const std::string& bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

IconImage DescribeIconImage(int width, int height, const std::string& bits) {
    IconImage image;
    image.width = width;
    image.height = height;
    image.bits = bits;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bits.data(), sizeof(header));
    image.bitsPerPixel = header.biBitCount;
    IconHandle icon(CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.bits.data()),
                                             static_cast<DWORD>(bits.size()), TRUE, 0x00030000, width, height, 0));
    image.decodes = static_cast<bool>(icon);
    return image;
}

std::string ResourceBytes(HMODULE module, const char* name, const char* type) {
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found)) : std::string();
}

BOOL CALLBACK KeepFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR parameter) {
    auto* first = reinterpret_cast<std::string*>(parameter);
    *first = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
    return FALSE;
}

std::vector<char> VersionResource(const std::string& file) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    std::vector<char> data(size);
    if (!size || !GetFileVersionInfoA(file.c_str(), 0, size, data.data())) data.clear();
    return data;
}

}  // namespace

std::string SetupExe() { return BinFolder() + "\\" JUKELET_SETUP_NAME; }

namespace {

DWORD ExitCodeOf(TestProcess process) {
    return process && process.WaitForExit(SetupTimeoutMs) ? process.ExitCode() : NoExitCode;
}

}  // namespace

DWORD RunSetup(const std::string& arguments) {
    return ExitCodeOf(TestProcess::StartWithArguments(SetupExe(), arguments));
}

DWORD RunSetup(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + Widen(SetupExe()) + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return NoExitCode;
    const KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    DWORD code = NoExitCode;
    if (WaitForSingleObject(process.get(), SetupTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(process.get(), NoExitCode);
    else
        GetExitCodeProcess(process.get(), &code);
    return code;
}

bool UninstallSilently() {
    const std::string command(GetString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString"));
    if (command.empty()) return false;
    TestProcess uninstaller = TestProcess::Start("", command);
    if (!uninstaller || !uninstaller.WaitForExit(SetupTimeoutMs) || uninstaller.ExitCode() != 0) return false;
    // The copy in %TEMP% does the work and removes the uninstall key last.
    const bool finished = WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, UninstallKey); }, SetupTimeoutMs, 50);
    const bool copyEnded = WaitUntil([] { return CountProcessesNamed(UninstallerCopy) == 0; }, 10000, 50);
    if (!copyEnded) KillProcessesNamed(UninstallerCopy);
    return finished && copyEnded;
}

DWORD RunUninstallerInPlace(const std::string& folder) {
    return RunUninstaller(folder + "\\Uninstall.exe", "/S _?=" + folder);
}

DWORD RunUninstaller(const std::string& uninstaller, const std::string& arguments) {
    return ExitCodeOf(TestProcess::StartWithArguments(uninstaller, arguments));
}

void WipeInstallation(const std::string& folder) {
    KillProcessesNamed(UninstallerCopy);
    KillProcessesNamed(ShortcutProgram);
    DeleteFolderTree(folder);
    DeleteFileA(StartMenuShortcut().c_str());
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallKey);
    for (const ToolbarButton& button : ButtonCatalogue) {
        DeleteRegistryTree(HKEY_CURRENT_USER, ButtonKeyPath(button.id));
        for (RegistryView view : {RegistryView::Bits64, RegistryView::Bits32})
            DeleteRegistryTree(HKEY_LOCAL_MACHINE, ButtonKeyPath(button.id), view);
    }
    ClearJukeletSettings();
}

HWND WaitForSetupBox(DWORD processId, const char* title, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : FindTopWindows(processId, "#32770", title))
                if (IsWindowVisible(window) && GetDlgItem(window, 0xFFFF)) box = window;
            return box != nullptr;
        },
        timeoutMs);
    return box;
}

std::string StartMenuShortcut() { return KnownFolder(CSIDL_COMMON_PROGRAMS) + "\\Jukelet.lnk"; }
std::string ProgramFilesFolder() { return KnownFolder(CSIDL_PROGRAM_FILES); }

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> TreeOf(const std::string& folder) {
    std::vector<std::string> tree;
    CollectTree(folder, "", tree);
    std::sort(tree.begin(), tree.end());
    return tree;
}

Shortcut ReadShortcut(const std::string& path) {
    Shortcut shortcut;
    ComApartment com;
    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink))))
        return shortcut;
    ComPtr<IShellLinkA> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) return shortcut;
    ComPtr<IPersistFile> file(rawFile);
    if (FAILED(file->Load(Widen(path).c_str(), STGM_READ))) return shortcut;

    char text[INFOTIPSIZE] = "";
    if (FAILED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) return shortcut;
    shortcut.target = text;
    text[0] = '\0';
    if (FAILED(link->GetArguments(text, sizeof(text)))) return shortcut;
    shortcut.arguments = text;
    text[0] = '\0';
    if (FAILED(link->GetWorkingDirectory(text, MAX_PATH))) return shortcut;
    shortcut.workingDirectory = text;
    shortcut.loaded = true;
    return shortcut;
}

std::string Describe(const IconImage& image) {
    return std::to_string(image.width) + "x" + std::to_string(image.height) + " " + std::to_string(image.bitsPerPixel) +
           "bpp" + (image.decodes ? "" : " undecodable");
}

std::vector<IconImage> ReadIconFile(const std::string& path, std::string* problem) {
    const std::string bytes = FileBytes(path);
    auto fail = [&](const std::string& why) {
        *problem = path + ": " + why;
        return std::vector<IconImage>();
    };
    if (bytes.size() < 6) return fail("shorter than an icon directory");
    if (LittleEndian(bytes, 0, 2) != 0 || LittleEndian(bytes, 2, 2) != 1) return fail("not an icon");
    const size_t count = LittleEndian(bytes, 4, 2);
    if (6 + 16 * count > bytes.size()) return fail("its directory runs past the end");

    std::vector<IconImage> images;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const std::string which = "image " + std::to_string(i) + ": ";
        const int width = static_cast<uint8_t>(bytes[entry]) ? static_cast<uint8_t>(bytes[entry]) : 256;
        const int height = static_cast<uint8_t>(bytes[entry + 1]) ? static_cast<uint8_t>(bytes[entry + 1]) : 256;
        const uint32_t entryBits = LittleEndian(bytes, entry + 6, 2);
        const uint32_t size = LittleEndian(bytes, entry + 8, 4);
        const uint32_t offset = LittleEndian(bytes, entry + 12, 4);
        if (size < sizeof(BITMAPINFOHEADER) || offset > bytes.size() || size > bytes.size() - offset)
            return fail(which + "its bytes lie outside the file");
        BITMAPINFOHEADER header;
        std::memcpy(&header, bytes.data() + offset, sizeof(header));
        if (header.biSize != sizeof(header) || header.biWidth != width || header.biHeight != 2 * height ||
            header.biBitCount != entryBits)
            return fail(which + "its bitmap header disagrees with its directory entry");
        images.push_back(DescribeIconImage(width, height, bytes.substr(offset, size)));
    }
    return images;
}

std::string ProgramResource(const std::string& program, const char* name) {
    ModuleHandle module(LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return module ? ResourceBytes(module.get(), name, MAKEINTRESOURCEA(10) /* RT_RCDATA */) : std::string();
}

std::vector<IconImage> ReadProgramIcon(const std::string& program) {
    std::vector<IconImage> images;
    ModuleHandle module(
        LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) return images;
    std::string group;
    EnumResourceNamesA(module.get(), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, KeepFirstName,
                       reinterpret_cast<LONG_PTR>(&group));
    const std::string directory = ResourceBytes(module.get(), group.c_str(), MAKEINTRESOURCEA(14));
    if (directory.size() < 6) return images;
    const size_t count = LittleEndian(directory, 4, 2);
    for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= directory.size(); ++i) {
        const size_t entry = 6 + 14 * i;
        const int width = static_cast<uint8_t>(directory[entry]) ? static_cast<uint8_t>(directory[entry]) : 256;
        const int height =
            static_cast<uint8_t>(directory[entry + 1]) ? static_cast<uint8_t>(directory[entry + 1]) : 256;
        const WORD id = static_cast<WORD>(LittleEndian(directory, entry + 12, 2));
        const std::string bits = ResourceBytes(module.get(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3) /* RT_ICON */);
        if (bits.size() >= sizeof(BITMAPINFOHEADER)) images.push_back(DescribeIconImage(width, height, bits));
    }
    return images;
}

std::vector<std::string> ToolbarButtonExecs(const std::string& caption) {
    std::vector<std::string> execs;
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ExtensionsKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return execs;
    RegKey extensions(raw);
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(extensions.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::string key = std::string(ExtensionsKey) + "\\" + name;
        if (GetString(HKEY_CURRENT_USER, key, "ButtonText") == caption &&
            GetString(HKEY_CURRENT_USER, key, "CLSID") == ExecButtonHandlerClsid)
            execs.emplace_back(GetString(HKEY_CURRENT_USER, key, "Exec"));
    }
    return execs;
}

bool OpenThroughShell(const std::string& file, DWORD timeoutMs) {
    ComApartment com;
    const std::vector<DWORD> before = ProcessIdsNamed(ShortcutProgram);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) return false;

    std::vector<KernelHandle> started;
    started.emplace_back(info.hProcess);
    // The shell need not hand back the process a shortcut started (Wine's does not): with
    // SEE_MASK_NOASYNC it exists by now, so take the new ones by their ids.
    if (!started.back()) {
        started.clear();
        for (DWORD id : ProcessIdsNamed(ShortcutProgram))
            if (std::find(before.begin(), before.end(), id) == before.end())
                started.emplace_back(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    bool ended = true;
    for (const KernelHandle& process : started) {
        if (!process) continue;
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process.get(), left) == WAIT_OBJECT_0) continue;
        TerminateProcess(process.get(), 1);
        ended = false;
    }
    return ended;
}

std::string VersionString(const std::string& file, const std::string& name) {
    std::vector<char> data = VersionResource(file);
    if (data.empty()) return {};
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return {};
    char query[256];
    std::snprintf(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\%s", translations->language,
                  translations->codePage, name.c_str());
    char* value = nullptr;
    if (!VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&value), &length) || !value) return {};
    return std::string(value);
}

std::string FixedFileVersion(const std::string& file) {
    std::vector<char> data = VersionResource(file);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (data.empty() || !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    std::ostringstream version;
    version << HIWORD(fixed->dwFileVersionMS) << '.' << LOWORD(fixed->dwFileVersionMS) << '.'
            << HIWORD(fixed->dwFileVersionLS) << '.' << LOWORD(fixed->dwFileVersionLS);
    return version.str();
}
