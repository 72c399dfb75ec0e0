// files.h - a whole file as a string, for comparing outputs byte for byte.
#pragma once

#include <string>

std::string ReadFile(const std::string& path); // empty when it cannot be read
