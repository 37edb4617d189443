#include "platform/CheckedMath.h"

namespace tickforge {

void RaiseDivisionByZero() { throw Error(messages::DivisionByZero); }
void RaiseInvalidOperation() { throw Error(messages::InvalidOperation); }
void RaiseOverflow() { throw Error(messages::Overflow); }

double CheckedPow(double base, double exponent)
{
    if (std::isnan(base) || std::isnan(exponent))
        RaiseInvalidOperation();
    if (base < 0.0 && exponent != std::trunc(exponent))
        RaiseInvalidOperation();
    if (base == 0.0 && exponent < 0.0)
        RaiseDivisionByZero();
    return CheckFinite(std::pow(base, exponent));
}

double CheckedSqrt(double x)
{
    if (!(x >= 0.0))
        RaiseInvalidOperation();
    return std::sqrt(x);
}

}  // namespace tickforge
