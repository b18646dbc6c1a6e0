// What every fuzz target shares: a target reports a broken promise with
// Require, which aborts, so the fuzzer keeps the input (and the plain-main
// replay stops on it the same way).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vlh::fuzz {

// Prints what was promised and aborts when condition is false.
void Require(bool condition, const char* promise);

// FNV-1a of the input: a cheap, stable way to derive choices from it.
uint64_t HashOf(const uint8_t* data, size_t size) noexcept;

} // namespace vlh::fuzz
