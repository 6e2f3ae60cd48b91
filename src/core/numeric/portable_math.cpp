#include "numeric/portable_math.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "numeric/bit_cast.h"
#include "text/number_text.h"

namespace kelno {

namespace {

// The arctangent of 0.5, 1, 1.5 and infinity, each as the nearest double and the rest.
constexpr double kAtanHigh[] = {4.63647609000806093515e-01, 7.85398163397448278999e-01,
                                9.82793723247329054082e-01, 1.57079632679489655800e+00};
constexpr double kAtanLow[] = {2.26987774529616870924e-17, 3.06161699786838301793e-17,
                               1.39033110312309984516e-17, 6.12323399573676603587e-17};
// atan(t) = t - t^3 (a0 + a1 t^2 + ... + a10 t^20) on [0, 7/16].
constexpr double kAtanPolynomial[] = {
    3.33333333333329318027e-01,  -1.99999999998764832476e-01, 1.42857142725034663711e-01,
    -1.11111104054623557880e-01, 9.09088713343650656196e-02,  -7.69187620504482999495e-02,
    6.66107313738753120669e-02,  -5.83357013379057348645e-02, 4.97687799461593236017e-02,
    -3.65315727442169155270e-02, 1.62858201153657823623e-02};
constexpr double kPi = 3.1415926535897931160E+00;
constexpr double kPiLow = 1.2246467991473531772E-16;

std::uint32_t HighWord(double value) {
    return static_cast<std::uint32_t>(BitCast<std::uint64_t>(value) >> 32);
}

// The arctangent by argument reduction to [0, 7/16] around atan(1/2), atan(1), atan(3/2)
// and atan(infinity), then an odd polynomial split into two halves.
double PortableAtan(double x) {
    const std::uint32_t high = HighWord(x);
    const std::uint32_t magnitudeHigh = high & 0x7fffffff;
    const bool negative = (high >> 31) != 0;
    if (magnitudeHigh >= 0x44100000) {  // |x| >= 2^66, or not a number
        if (std::isnan(x)) {
            return x + x;
        }
        return negative ? -kAtanHigh[3] - kAtanLow[3] : kAtanHigh[3] + kAtanLow[3];
    }
    int reduction = -1;
    if (magnitudeHigh < 0x3fdc0000) {  // |x| < 0.4375
        if (magnitudeHigh < 0x3e400000) {
            return x;  // |x| < 2^-27: atan(x) rounds to x
        }
    } else {
        x = std::fabs(x);
        if (magnitudeHigh < 0x3ff30000) {  // |x| < 1.1875
            if (magnitudeHigh < 0x3fe60000) {
                reduction = 0;
                x = (2.0 * x - 1.0) / (2.0 + x);
            } else {
                reduction = 1;
                x = (x - 1.0) / (x + 1.0);
            }
        } else if (magnitudeHigh < 0x40038000) {  // |x| < 2.4375
            reduction = 2;
            x = (x - 1.5) / (1.0 + 1.5 * x);
        } else {
            reduction = 3;
            x = -1.0 / x;
        }
    }
    const double* a = kAtanPolynomial;
    const double z = x * x;
    const double w = z * z;
    const double odd = z * (a[0] + w * (a[2] + w * (a[4] + w * (a[6] + w * (a[8] + w * a[10])))));
    const double even = w * (a[1] + w * (a[3] + w * (a[5] + w * (a[7] + w * a[9]))));
    if (reduction < 0) {
        return x - x * (odd + even);
    }
    const double result =
        kAtanHigh[reduction] - (x * (odd + even) - kAtanLow[reduction] - x);
    return negative ? -result : result;
}

}  // namespace

double PortableAtan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) {
        return x + y;
    }
    if (x == 1.0) {
        return PortableAtan(y);
    }
    const int signs = (std::signbit(y) ? 1 : 0) | (std::signbit(x) ? 2 : 0);
    const std::uint32_t xHigh = HighWord(x) & 0x7fffffff;
    const std::uint32_t yHigh = HighWord(y) & 0x7fffffff;
    if (y == 0.0) {
        return signs == 2 ? kPi : signs == 3 ? -kPi : y;
    }
    if (x == 0.0) {
        return (signs & 1) != 0 ? -kPi / 2 : kPi / 2;
    }
    if (std::isinf(x)) {
        static constexpr double kBothInfinite[] = {kPi / 4, -kPi / 4, 3 * kPi / 4, -3 * kPi / 4};
        static constexpr double kXInfinite[] = {0.0, -0.0, kPi, -kPi};
        return std::isinf(y) ? kBothInfinite[signs] : kXInfinite[signs];
    }
    // |y / x| > 2^64: the angle is a right angle to the last bit.
    if (xHigh + (64 << 20) < yHigh || std::isinf(y)) {
        return (signs & 1) != 0 ? -kPi / 2 : kPi / 2;
    }
    // |y / x| < 2^-64 with x < 0: the division would underflow for nothing.
    const double z = (signs & 2) != 0 && yHigh + (64 << 20) < xHigh ? 0.0
                                                                   : PortableAtan(std::fabs(y / x));
    switch (signs) {
        case 0:
            return z;
        case 1:
            return -z;
        case 2:
            return kPi - (z - kPiLow);
        default:
            return (z - kPiLow) - kPi;
    }
}

double PowerOfTen(int exponent) {
    // The nearest doubles to the powers of ten, read once from their decimal literals by
    // the program's own correctly rounded reader.
    constexpr int kLowest = -323;  // below it every power rounds to 0
    constexpr int kHighest = 308;
    static const std::array<double, kHighest - kLowest + 1> kPowers = [] {
        std::array<double, kHighest - kLowest + 1> powers{};
        for (int e = kLowest; e <= kHighest; ++e) {
            const std::string literal = "1e" + std::to_string(e);
            double value = 0.0;
            ParseDouble(literal.data(), literal.data() + literal.size(), value);
            powers[static_cast<std::size_t>(e - kLowest)] = value;
        }
        return powers;
    }();
    if (exponent < kLowest) {
        return 0.0;
    }
    if (exponent > kHighest) {
        return HUGE_VAL;
    }
    return kPowers[static_cast<std::size_t>(exponent - kLowest)];
}

int DecimalExponent(double magnitude) {
    // An estimate from the binary exponent (log10(2) = 0.30103), then corrected by
    // comparison with the powers themselves.
    int binary = 0;
    std::frexp(magnitude, &binary);
    int exponent = static_cast<int>(std::floor((binary - 1) * 0.30102999566398120));
    while (exponent > -323 && magnitude < PowerOfTen(exponent)) {
        --exponent;
    }
    while (exponent < 308 && magnitude >= PowerOfTen(exponent + 1)) {
        ++exponent;
    }
    return exponent;
}

}  // namespace kelno
