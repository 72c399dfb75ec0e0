// console.cpp - text for the user of a windowed program: to the standard
// stream its starter handed it, else into the console it was started from,
// else into a message box.
#include "platform/console.h"

#include "platform/win32.h"

namespace platform {
namespace {

bool WriteAll(HANDLE handle, const std::string& text) {
    DWORD written = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
               0 &&
           written == text.size();
}

} // namespace

void ShowText(const std::string& text, bool isError, const char* caption) {
    const HANDLE handed = GetStdHandle(isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (handed != nullptr && handed != INVALID_HANDLE_VALUE &&
        GetFileType(handed) != FILE_TYPE_UNKNOWN && WriteAll(handed, text)) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS) != 0) {
        const HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
        const bool shown = WriteAll(console, text);
        if (console != INVALID_HANDLE_VALUE) {
            CloseHandle(console);
        }
        if (shown) {
            return;
        }
    }
    MessageBox(nullptr, text.c_str(), caption,
               MB_OK | (isError ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

} // namespace platform
