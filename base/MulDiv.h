#pragma once

#include <cstdint>

namespace base {

// a * b / c with a 64-bit intermediate product, rounded to the nearest
// integer with halves away from zero; -1 when c is 0.
constexpr int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = std::int64_t{a} * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    const std::int64_t twice = remainder < 0 ? -2 * remainder : 2 * remainder;
    if (twice >= (c < 0 ? -std::int64_t{c} : std::int64_t{c})) {
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    }
    return static_cast<int>(quotient);
}

} // namespace base
