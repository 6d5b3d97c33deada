#pragma once

#include <cstdint>

// The steps of the calculator, each rounded to binary32 exactly once, so that the results do
// not change with the compiler, its optimisation level or the floating-point unit it uses.

// ratePerHour times 1/3600 (held with a 64-bit significand), rounded first to a 64-bit
// significand as the x87 unit would and then to single precision. Done in integers: no
// precision setting or control word can change it.
float RatePerSecond(std::uint32_t ratePerHour);

// Seconds until `amount` is reached from `supply` at `ratePerHour`, truncated, modulo 2^32.
std::uint32_t SecondsToFinish(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply);

// Amount produced over `seconds` at `ratePerHour`, truncated, modulo 2^32.
std::uint32_t AmountProduced(std::uint32_t seconds, std::uint32_t ratePerHour);
