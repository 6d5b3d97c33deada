#include "ui/Help.h"

#include "ui/Messages.h"

#include <shellapi.h>

#include <string>

namespace
{

const char HELP_FILE[] = "help.hlp";
const char HELP_PAGE[] = "help.htm";
// Windows 10 was the first to ship without WinHelp, and no viewer is offered for it.
const ULONG FIRST_MAJOR_WITHOUT_WINHELP = 10;

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

FARPROC NtdllFunction(const char* name)
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr ? GetProcAddress(ntdll, name) : nullptr;
}

// GetVersionEx reports what the program's manifest allows it to see, so the real version
// comes from ntdll. Wine reports Windows 10 as well but always brings its own viewer.
bool HasWinHelpViewer()
{
    if (NtdllFunction("wine_get_version") != nullptr)
    {
        return true;
    }
    const FARPROC function = NtdllFunction("RtlGetVersion");
    if (function == nullptr)
    {
        return true;
    }
    const auto getVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(function));
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (getVersion(&version) != 0)
    {
        return true;
    }
    return version.dwMajorVersion < FIRST_MAJOR_WITHOUT_WINHELP;
}

std::string InFolder(std::string folder, const char* file)
{
    if (!folder.empty() && folder.back() != '\\')
    {
        folder += '\\';
    }
    return folder + file;
}

std::string CurrentFolder()
{
    const DWORD length = GetCurrentDirectoryA(0, nullptr);
    std::string folder(length, '\0');
    folder.resize(GetCurrentDirectoryA(length, &folder[0]));
    return folder;
}

std::string ProgramFolder()
{
    std::string path(MAX_PATH, '\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()))) == path.size())
    {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    return path.substr(0, path.find_last_of('\\'));
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool OpenInBrowser(HWND owner, const std::string& path)
{
    const HINSTANCE result = ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void ShowHelpPage(HWND owner)
{
    const std::string inCurrentFolder = InFolder(CurrentFolder(), HELP_PAGE);
    const std::string besideProgram = InFolder(ProgramFolder(), HELP_PAGE);
    const std::string& page = IsFile(inCurrentFolder) ? inCurrentFolder : besideProgram;
    if (IsFile(page) && OpenInBrowser(owner, page))
    {
        return;
    }
    const std::string text = std::string("Cannot show the help: ") + HELP_PAGE +
                             " was not found or could not be opened.\n\nLooked for in the current folder:\n" +
                             inCurrentFolder + "\n\nand beside the program:\n" + besideProgram;
    ShowFailure(owner, text.c_str());
}

} // namespace

void ShowHelp(HWND owner)
{
    if (HasWinHelpViewer())
    {
        WinHelpA(owner, HELP_FILE, HELP_CONTENTS, 0);
    }
    else
    {
        ShowHelpPage(owner);
    }
}
