// uninstall.exe, what the entry in the installed programs starts: it runs remove.exe beside it
// (the uninstaller that asks, closes the clock and takes the program, the Start-menu entry and
// the entry away) where it lies, waits for it, then takes remove.exe, itself and the folder
// away too, and ends with remove.exe's exit code. Whoever started it, a deployment tool say,
// finds everything gone when it ends, or, with exit code 2, nothing changed. Windows deletes no
// program while it runs but lets it be moved: its own file goes to the temporary folder, to be
// deleted when Windows next starts.
//   uninstall [/S]

#include <windows.h>

#include <string>

namespace {

// The arguments that this was started with, as they were written.
std::wstring arguments() {
    const wchar_t* line = GetCommandLineW();
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line)
        quoted ^= *line == L'"';
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

DWORD runWhereItLies(const std::wstring& folder, const std::wstring& temporary) {
    // After the arguments, since remove.exe reads the last _?=: its folder, where it then runs.
    std::wstring command = L"\"" + folder + L"\\remove.exe\" " + arguments() + L" _?=" + folder;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Started elsewhere, so that no process keeps the folder as its current one.
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        temporary.c_str(), &startup, &process))
        return GetLastError();
    DWORD code = 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

} // namespace

int main() {
    wchar_t path[MAX_PATH] = {}, temporary[MAX_PATH] = {}, moved[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (!length || length == MAX_PATH || !GetTempPathW(MAX_PATH, temporary) ||
        !SetCurrentDirectoryW(temporary))
        return 1;
    const std::wstring self = path;
    const std::wstring folder = self.substr(0, self.rfind(L'\\'));
    DWORD code = runWhereItLies(folder, temporary);
    if (code != 0)
        return static_cast<int>(code);
    // A process that has just ended may hold its file for a moment longer.
    const std::wstring remover = folder + L"\\remove.exe";
    for (int attempt = 0;
         attempt < 50 && !DeleteFileW(remover.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND;
         ++attempt)
        Sleep(100);
    if (GetTempFileNameW(temporary, L"unc", 0, moved) &&
        MoveFileExW(self.c_str(), moved, MOVEFILE_REPLACE_EXISTING)) {
        MoveFileExW(moved, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        RemoveDirectoryW(folder.c_str());
    } else { // the temporary folder on another drive: both go when Windows next starts
        DeleteFileW(moved);
        MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        code = ERROR_SUCCESS_REBOOT_REQUIRED;
    }
    return static_cast<int>(code);
}
