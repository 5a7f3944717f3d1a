// The debug viewer connection through the DLL: a window with the viewer's
// class and title, registered as a Unicode program registers them, receives
// one WM_COPYDATA per load under any ANSI code page, long lines in pieces,
// and nothing when the window appeared only after the first lookup.
//
//   viewer-test MODULE window-first|window-later CODE_PAGE
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "host_check.h"

namespace {

struct Message {
    ULONG_PTR kind;
    DWORD size;
    std::string text;
};
std::vector<Message> received;

LRESULT CALLBACK viewer_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
        const char* bytes = static_cast<const char*>(data->lpData);
        received.push_back({data->dwData, data->cbData, std::string(bytes, data->cbData)});
        return TRUE;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Creates the window and waits until the system finds it by name (a new
// Wine prefix may still be starting its desktop).
bool open_viewer_window() {
    static const wchar_t kViewerName[] = L"ぽれむ";
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = viewer_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kViewerName;
    RegisterClassW(&window_class);
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (CreateWindowExW(0, kViewerName, kViewerName, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                            nullptr, window_class.hInstance, nullptr) != nullptr &&
            FindWindowW(kViewerName, kViewerName) != nullptr) {
            return true;
        }
        Sleep(100);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const bool window_first = argc > 2 && std::strcmp(argv[2], "window-first") == 0;
    const bool window_ready = window_first && open_viewer_window();
    HostCheck check(argc, argv);
    const char* code_page = argc > 3 ? argv[3] : "";
    check.expect(GetACP() == static_cast<UINT>(std::atoi(code_page)),
                 "the ANSI code page is " + std::string(code_page));
    if (window_first) check.expect(window_ready, "the viewer window can be found");

    // The directory goes to the viewer as the bytes it is, whatever the code page.
    const std::string directory = "C:\\characters\\mine\\画像";
    check.expect(send_load(check.module().load, directory) == TRUE, "load returns TRUE");
    if (!window_first) {
        check.expect(open_viewer_window(), "the viewer window can be found");
        check.expect(send_load(check.module().load, directory) == TRUE, "load returns TRUE again");
        check.expect(received.empty(), "a window that appeared after the first lookup gets nothing");
        return check.finish();
    }

    check.expect(received.size() == 1, "one message per load");
    if (received.size() == 1) {
        const Message& message = received[0];
        check.expect(message.kind == 0, "dwData is 0");
        check.expect(message.size == directory.size() + 1, "cbData counts the terminating zero");
        check.expect(message.text == directory + '\0', "the directory is the text");
    }

    received.clear();
    check.expect(send_load(check.module().load, std::string(10000, 'd')) == TRUE, "load of a long directory");
    check.expect(received.size() == 2, "a 10000-byte directory arrives as two messages");
    if (received.size() == 2) {
        check.expect(received[0].size == 8191 && received[1].size == 1811, "pieces of 8190 and 1810 bytes");
    }

    received.clear();
    send_load(check.module().load, "");
    check.expect(received.size() == 1 && received[0].size == 1, "an empty directory is an empty line");
    return check.finish();
}
