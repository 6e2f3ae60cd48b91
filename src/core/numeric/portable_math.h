#pragma once

namespace kelno {

// The arctangent of y / x in the quadrant of (x, y), computed with additions,
// multiplications and divisions of doubles alone, so that it gives the same bits with
// every C library and compiler. The system's atan2 differs between libraries in the last
// bit, and the angles decide which side of a component faces where and which wire a pull
// takes off a junction: those decisions must not depend on where the program runs.
double PortableAtan2(double y, double x);

// 10 to the power `exponent`, rounded to the nearest double (0 below the smallest
// subnormal, infinity beyond the largest double): the value of the literal "1e<exponent>".
double PowerOfTen(int exponent);

// The exponent of the largest power of ten not above `magnitude` (finite, positive),
// measured against the doubles of PowerOfTen; what floor(log10(magnitude)) gives wherever
// log10 is exact.
int DecimalExponent(double magnitude);

}  // namespace kelno
