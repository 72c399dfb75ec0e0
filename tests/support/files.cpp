// files.cpp - reading whole files.
#include "tests/support/files.h"

#include <fstream>
#include <sstream>

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
