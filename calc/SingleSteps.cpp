#include "calc/SingleSteps.h"

#include <cstring>
#include <limits>

static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<float>::digits == 24,
              "the results are defined in IEEE binary32");

namespace
{
// 1/3600 = PER_SECOND_SIGNIFICAND * 2^-75, rounded to nearest (the dropped part is 0.102 of a unit).
constexpr std::uint64_t PER_SECOND_SIGNIFICAND = 0x91A2B3C4D5E6F809u;
constexpr int PER_SECOND_EXPONENT = -75;

// Forces a value through a binary32 memory slot: on a unit that computes with excess
// precision (x87) this is where the rounding to single happens, and it keeps the compiler
// from carrying a wider value into the next step. The four basic operations on singles
// rounded once through a format of at least 50 bits give the singly rounded result, so
// this matches IEEE single arithmetic on every unit.
float Single(float value)
{
    volatile float stored = value;
    return stored;
}

// Drops the low `dropped` bits of `value` (1..63), rounding to nearest, ties to even.
// The result may be one bit wider than `64 - dropped` after the carry.
std::uint64_t RoundOff(std::uint64_t value, unsigned dropped)
{
    const std::uint64_t kept = value >> dropped;
    const std::uint64_t rest = value & ((std::uint64_t{1} << dropped) - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    if (rest > half || (rest == half && (kept & 1) != 0))
    {
        return kept + 1;
    }
    return kept;
}

// Truncation toward zero to 64 bits, low 32 bits kept. Every value that reaches here is
// non-negative and far below 2^63.
std::uint32_t TruncateWrapped(float value)
{
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}
} // namespace

float RatePerSecond(std::uint32_t ratePerHour)
{
    if (ratePerHour == 0)
    {
        return 0.0f;
    }

    // The exact product, up to 96 bits: high * 2^32 + low.
    const std::uint64_t rate = ratePerHour;
    const std::uint64_t lowProduct = rate * (PER_SECOND_SIGNIFICAND & 0xFFFFFFFFu);
    const std::uint64_t low = lowProduct & 0xFFFFFFFFu;
    std::uint64_t high = rate * (PER_SECOND_SIGNIFICAND >> 32) + (lowProduct >> 32);

    // Normalise so that bit 63 of `high` is the leading bit; at most 32 places, since the
    // significand alone fills 64 bits and the rate is at least 1.
    const auto shift = static_cast<unsigned>(__builtin_clzll(high));
    high <<= shift;
    std::uint64_t significand = high | (shift == 0 ? 0 : (low >> (32 - shift)));
    const std::uint64_t rest = (low << shift) & 0xFFFFFFFFu;
    int exponent = 32 - static_cast<int>(shift) + PER_SECOND_EXPONENT;

    // First rounding: to the 64-bit significand of the x87 product.
    const std::uint64_t half = std::uint64_t{1} << 31;
    if (rest > half || (rest == half && (significand & 1) != 0))
    {
        ++significand;
        if (significand == 0)
        {
            significand = std::uint64_t{1} << 63;
            ++exponent;
        }
    }

    // Second rounding: to the 24 bits of a single.
    std::uint64_t single = RoundOff(significand, 40);
    exponent += 40;
    if (single == (std::uint64_t{1} << 24))
    {
        single >>= 1;
        ++exponent;
    }

    // single * 2^exponent with single in [2^23, 2^24): always a normal float, since the rate
    // per second lies between 1/3600 and 2^32/3600.
    const std::uint32_t bits = static_cast<std::uint32_t>(exponent + 23 + 127) << 23 |
                               (static_cast<std::uint32_t>(single) & 0x7FFFFFu);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t SecondsToFinish(std::uint32_t ratePerHour, std::uint32_t amount, std::uint32_t supply)
{
    if (amount <= supply || ratePerHour == 0)
    {
        return 0;
    }
    const float s = Single(static_cast<float>(supply));
    const float r = Single(static_cast<float>(ratePerHour));
    const float a = Single(static_cast<float>(amount));
    const float d = Single(a - s);
    const float hours = Single(d / r);
    const float seconds = Single(hours * 3600.0f);
    return TruncateWrapped(seconds);
}

std::uint32_t AmountProduced(std::uint32_t seconds, std::uint32_t ratePerHour)
{
    const float p = RatePerSecond(ratePerHour);
    const float t = Single(static_cast<float>(seconds));
    const float v = Single(t * p);
    return TruncateWrapped(v);
}
