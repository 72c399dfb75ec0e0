// sha256.h - SHA-256 of a run's files, as a chunk's manifest lists them and
// the join checks them: 64 lower-case hexadecimal digits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string Sha256Hex(const std::uint8_t* bytes, std::size_t size);
