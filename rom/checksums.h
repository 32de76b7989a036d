#pragma once
// The three image checksums shown on a BIN panel. No final XOR on any of them:
//   checksum8  CRC-8, poly 0x07, MSB first, start 0xFF            ("123456789" -> 0xFB)
//   checksum16 CRC-16/MODBUS, reflected 0xA001, start 0xFFFF      ("123456789" -> 0x4B37)
//   checksum32 CRC-32/JAMCRC, reflected 0xEDB88320, start ~0      ("123456789" -> 0x340BC6D9)
#include <cstddef>
#include <cstdint>

std::uint8_t checksum8(const std::uint8_t* data, std::size_t size);
std::uint16_t checksum16(const std::uint8_t* data, std::size_t size);
std::uint32_t checksum32(const std::uint8_t* data, std::size_t size);

struct ImageChecksums {
    std::uint8_t c8;
    std::uint16_t c16;
    std::uint32_t c32;
};

// All three in one pass over the image; bit-identical to the single functions.
ImageChecksums imageChecksums(const std::uint8_t* data, std::size_t size);
