// main.cpp - the process entry: hands over to the program's own entry point.
#include "framework/TolkGL.h"

int main() {
    return WinMain(GetModuleHandle(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
}
