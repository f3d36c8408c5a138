// The benchmark's eyes inside Wine: a console program in the same prefix as the program being
// measured, which tells when that program's first top-level window shows, and closes it
// afterwards. One command a line on standard input, one line back:
//
//   wait CLASS...   "watching" at once, then polls the top-level windows every millisecond
//                   until one of a named class is visible: "shown CLASS WIDTH HEIGHT" (its
//                   client area in pixels), or "timeout" after a minute
//   close CLASS     posts WM_CLOSE to every top-level window of the class: "closed N"
//
// Between commands it waits on its input and costs Wine nothing; it stays up for the whole
// run, so that Wine's server and desktop stay up between the programs, as Windows' do.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> words(const char* line) {
    std::vector<std::wstring> out;
    std::string word;
    for (const char* c = line;; ++c) {
        if (*c && !std::strchr(" \t\r\n", *c)) {
            word += *c;
        } else if (!word.empty()) {
            out.emplace_back(word.begin(), word.end()); // class names are ASCII
            word.clear();
        }
        if (!*c)
            return out;
    }
}

void wait(const std::vector<std::wstring>& classes) {
    std::printf("watching\n");
    std::fflush(stdout);
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (GetTickCount64() < deadline) {
        for (const std::wstring& name : classes)
            for (HWND w = FindWindowExW(nullptr, nullptr, name.c_str(), nullptr); w;
                 w = FindWindowExW(nullptr, w, name.c_str(), nullptr))
                if (IsWindowVisible(w)) {
                    RECT client{};
                    GetClientRect(w, &client);
                    std::printf("shown %ls %ld %ld\n", name.c_str(), client.right, client.bottom);
                    std::fflush(stdout);
                    return;
                }
        Sleep(1);
    }
    std::printf("timeout\n");
    std::fflush(stdout);
}

void close(const std::wstring& name) {
    int count = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, name.c_str(), nullptr); w;
         w = FindWindowExW(nullptr, w, name.c_str(), nullptr))
        count += PostMessageW(w, WM_CLOSE, 0, 0) ? 1 : 0;
    std::printf("closed %d\n", count);
    std::fflush(stdout);
}

} // namespace

int main() {
    char line[512];
    while (std::fgets(line, sizeof line, stdin)) {
        std::vector<std::wstring> command = words(line);
        if (command.size() > 1 && command[0] == L"wait") {
            wait({command.begin() + 1, command.end()});
        } else if (command.size() == 2 && command[0] == L"close") {
            close(command[1]);
        } else {
            std::printf("error\n");
            std::fflush(stdout);
        }
    }
}
