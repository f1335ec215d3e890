#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest Sha256(const unsigned char* data, std::size_t size);
