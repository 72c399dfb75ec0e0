// saver_host.cpp - the little monitor of the system's screen-saver settings:
// a window of its own, with a fixed client area, in which a saver is started
// to draw its preview (SAVER /p HWND). It stands in for the settings dialog
// under Wine, where the tests have no such dialog.
//
// Usage: tarrow-saver-host.exe SAVER [OPTION]
// OPTION is how the window is named to the saver: "/p" (the default) gives
// "/p HWND", one ending in ':' ("/p:") gives "/p:HWND"; HWND in decimal.
// Once the window is closed (through the window manager: WM_CLOSE, which
// DefWindowProc answers by destroying it), it says on standard error what
// preview window it held, waits for the saver to end and exits with the
// saver's exit code, or with one of its own:
//   2  no saver named             4  the saver could not be started
//   3  the saver did not end within 20 s of the window's end
//   5  the saver ended while its window was still there (said at once)
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

constexpr char kClass[] = "SaverPreviewHost";
constexpr char kTitle[] = "Saver preview host";
constexpr int kWidth = 320; // the client area: the monitor's screen
constexpr int kHeight = 240;
constexpr DWORD kPatienceMs = 20000;

DWORD saverId = 0; // the saver's process

// Says what the saver made in the window, as the system sees it: its child,
// its class, where it lies in the client area, whether it is shown and
// whose it is. One line: "tarrow-saver-host: preview OpenGL (0,0)-(320,240)
// shown, the saver's".
void DescribePreview(HWND window) {
    HWND child = GetWindow(window, GW_CHILD);
    if (child == nullptr) {
        fprintf(stderr, "tarrow-saver-host: no preview\n");
        return;
    }
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    fprintf(stderr, "tarrow-saver-host: preview %s (%ld,%ld)-(%ld,%ld) %s, %s\n", name, place.left,
            place.top, place.right, place.bottom, IsWindowVisible(child) ? "shown" : "hidden",
            owner == saverId ? "the saver's" : "another process's");
}

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DescribePreview(window);
        break; // DefWindowProc destroys the window
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: tarrow-saver-host SAVER [/p | /p:]\n");
        return 2;
    }
    const char* option = argc == 3 ? argv[2] : "/p";

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame{0, 0, kWidth, kHeight};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window =
        CreateWindowA(kClass, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        fprintf(stderr, "tarrow-saver-host: no window (error %lu)\n", GetLastError());
        return 4;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    // "SAVER" /p HWND, or "SAVER" /p:HWND.
    char commandLine[MAX_PATH + 64];
    const bool joined = option[0] != '\0' && option[strlen(option) - 1] == ':';
    snprintf(commandLine, sizeof commandLine, "\"%s\" %s%s%lu", argv[1], option, joined ? "" : " ",
             static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver{};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &saver)) {
        fprintf(stderr, "tarrow-saver-host: cannot start %s (error %lu)\n", commandLine,
                GetLastError());
        return 4;
    }
    CloseHandle(saver.hThread);
    saverId = saver.dwProcessId;
    fprintf(stderr, "tarrow-saver-host: started %s\n", commandLine);

    // The window's messages until it is gone; the saver ending while it is
    // still there (a preview that gave up) is said at once.
    DWORD status = 1;
    for (bool open = true; open;) {
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &saver.hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 && IsWindow(window)) {
            GetExitCodeProcess(saver.hProcess, &status);
            fprintf(stderr, "tarrow-saver-host: the saver ended (status %lu) before its window\n",
                    status);
            return 5;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                open = false;
            } else {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }

    if (WaitForSingleObject(saver.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        fprintf(stderr, "tarrow-saver-host: the saver did not end with its window\n");
        TerminateProcess(saver.hProcess, 1);
        return 3;
    }
    GetExitCodeProcess(saver.hProcess, &status);
    CloseHandle(saver.hProcess);
    return static_cast<int>(status);
}
