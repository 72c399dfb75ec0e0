// resources.cpp - the program's module and the system resources it asks for
// by name: handles it only hands back to the desktop API, never looks into.
#include "platform/win32.h"

HINSTANCE GetModuleHandle(LPCSTR /*moduleName*/) {
    static char module;
    return reinterpret_cast<HINSTANCE>(&module);
}

HCURSOR LoadCursor(HINSTANCE /*instance*/, LPCSTR cursorName) {
    static char arrow;
    return cursorName == IDC_ARROW ? reinterpret_cast<HCURSOR>(&arrow) : nullptr;
}
