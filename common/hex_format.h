#pragma once
#include <cstdint>
#include <string>

// Upper-case hexadecimal digits without prefix or leading zeros ("%X"): 0 -> "0".
std::string formatHex(std::uint32_t value);
