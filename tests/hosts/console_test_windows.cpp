// tavo-cli writing to a console: this program makes a console of its own,
// sets its output code page, starts tavo-cli attached to it and reads back
// what the console shows. Japanese output reads right under every code page.
//
//   console-test TAVO_CLI MODULE
#include <windows.h>

#include <string>
#include <vector>

#include "host_check.h"

namespace {

struct Console {
    HANDLE output;
    HANDLE input;
};

std::wstring wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size);
    result.pop_back();  // the terminating zero
    return result;
}

HANDLE open_inheritable(const wchar_t* name) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       OPEN_EXISTING, 0, nullptr);
}

// Clears the console, runs the command line with its standard output and
// error on the console, and returns the first rows as shown, without their
// trailing blanks.
std::vector<std::wstring> run_in_console(const Console& console, std::wstring command_line) {
    constexpr int kRows = 3;
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    GetConsoleScreenBufferInfo(console.output, &info);
    const DWORD width = static_cast<DWORD>(info.dwSize.X);
    DWORD done = 0;
    FillConsoleOutputCharacterW(console.output, L' ', width * static_cast<DWORD>(info.dwSize.Y), {0, 0}, &done);
    SetConsoleCursorPosition(console.output, {0, 0});

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = console.input;
    startup.hStdOutput = console.output;
    startup.hStdError = console.output;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return {L"(tavo-cli did not start)"};
    }
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::vector<std::wstring> rows;
    for (SHORT row = 0; row < kRows; ++row) {
        std::wstring text(width, L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(console.output, text.data(), width, {0, row}, &read);
        text.resize(read);
        text.erase(text.find_last_not_of(L' ') + 1);
        rows.push_back(text);
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    platform::exit_on_crash();
    const std::vector<std::string> arguments = platform::utf8_arguments(argc, argv);
    if (arguments.size() != 3) {
        std::fputs("usage: console-test TAVO_CLI MODULE\n", stderr);
        return 2;
    }
    const std::wstring cli = L"\"" + wide(arguments[1]) + L"\"";
    const std::wstring module = L" --module \"" + wide(arguments[2]) + L"\"";

    // A console of this program's own; its report still goes to the
    // standard output it was started with.
    FreeConsole();
    if (!AllocConsole()) {
        std::fputs("cannot make a console\n", stderr);
        return 2;
    }
    const Console console = {open_inheritable(L"CONOUT$"), open_inheritable(L"CONIN$")};

    CheckCount check;
    for (const UINT code_page : {437u, 932u, 1252u}) {
        const std::string page = " (code page " + std::to_string(code_page) + ")";
        check.expect(SetConsoleOutputCP(code_page) != 0, "the console takes" + page);
        const std::vector<std::wstring> values =
            run_in_console(console, cli + module + L" split りんご、みかん 、");
        check.expect(values == std::vector<std::wstring>{L"2", L"りんご", L"みかん"},
                     "the result and the values show as sent" + page);
        const std::vector<std::wstring> error =
            run_in_console(console, cli + L" --module Z:\\nonexistent\\モジュール.dll length a");
        check.expect(error[0].rfind(L"tavo-cli: cannot load module 'Z:\\nonexistent\\モジュール.dll'", 0) == 0,
                     "an error naming a Japanese path shows as sent" + page);
    }
    return check.finish();
}
