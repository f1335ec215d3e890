#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

using Sha256Digest = std::array<std::uint8_t, 32>;

// Nothing when the system can't compute it.
std::optional<Sha256Digest> Sha256(const unsigned char* data, std::size_t size);
