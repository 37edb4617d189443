#pragma once
// Checked floating-point arithmetic. The program never lets an infinity or a NaN
// through: the few operations that can produce one raise the user's error instead.

#include "platform/Error.h"

#include <cmath>

namespace tickforge {

[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseInvalidOperation();
[[noreturn]] void RaiseOverflow();

// a / b; 0/0 is an invalid operation, x/0 a division by zero.
inline double CheckedDiv(double a, double b)
{
    if (b == 0.0) [[unlikely]] {
        if (a == 0.0 || std::isnan(a))
            RaiseInvalidOperation();
        RaiseDivisionByZero();
    }
    const double q = a / b;
    if (!std::isfinite(q)) [[unlikely]] {
        if (std::isnan(q))
            RaiseInvalidOperation();
        RaiseOverflow();
    }
    return q;
}

// Raises overflow for an infinity and an invalid operation for a NaN.
inline double CheckFinite(double x)
{
    if (!std::isfinite(x)) [[unlikely]] {
        if (std::isnan(x))
            RaiseInvalidOperation();
        RaiseOverflow();
    }
    return x;
}

// base raised to exponent; a negative base with a fractional exponent is invalid.
double CheckedPow(double base, double exponent);

// Square root; a negative argument is invalid.
double CheckedSqrt(double x);

}  // namespace tickforge
