// Wine's msvcrt math.h lacks the long double functions, which the UCRT's
// declares (long double is double there), and a few C99 ones; libc++'s
// <cmath> names them all.
// Declared only: the MSVC-mode check links nothing.
#pragma once
#include_next <math.h>

#define TOLVU_LONG_DOUBLE_1(name) long double name##l(long double);
#define TOLVU_LONG_DOUBLE_2(name) long double name##l(long double, long double);
TOLVU_LONG_DOUBLE_1(acos) TOLVU_LONG_DOUBLE_1(acosh) TOLVU_LONG_DOUBLE_1(asin)
TOLVU_LONG_DOUBLE_1(asinh) TOLVU_LONG_DOUBLE_1(atan) TOLVU_LONG_DOUBLE_1(atanh)
TOLVU_LONG_DOUBLE_1(cbrt) TOLVU_LONG_DOUBLE_1(ceil) TOLVU_LONG_DOUBLE_1(cos)
TOLVU_LONG_DOUBLE_1(cosh) TOLVU_LONG_DOUBLE_1(erf) TOLVU_LONG_DOUBLE_1(erfc)
TOLVU_LONG_DOUBLE_1(exp) TOLVU_LONG_DOUBLE_1(exp2) TOLVU_LONG_DOUBLE_1(expm1)
TOLVU_LONG_DOUBLE_1(fabs) TOLVU_LONG_DOUBLE_1(floor) TOLVU_LONG_DOUBLE_1(lgamma)
TOLVU_LONG_DOUBLE_1(log) TOLVU_LONG_DOUBLE_1(log10) TOLVU_LONG_DOUBLE_1(log1p)
TOLVU_LONG_DOUBLE_1(log2) TOLVU_LONG_DOUBLE_1(logb) TOLVU_LONG_DOUBLE_1(nearbyint)
TOLVU_LONG_DOUBLE_1(sin) TOLVU_LONG_DOUBLE_1(sinh) TOLVU_LONG_DOUBLE_1(sqrt)
TOLVU_LONG_DOUBLE_1(tan) TOLVU_LONG_DOUBLE_1(tanh) TOLVU_LONG_DOUBLE_1(tgamma)
TOLVU_LONG_DOUBLE_2(atan2) TOLVU_LONG_DOUBLE_2(fdim) TOLVU_LONG_DOUBLE_2(fmax)
TOLVU_LONG_DOUBLE_2(fmin) TOLVU_LONG_DOUBLE_2(fmod) TOLVU_LONG_DOUBLE_2(hypot)
TOLVU_LONG_DOUBLE_2(nextafter) TOLVU_LONG_DOUBLE_2(nexttoward)
TOLVU_LONG_DOUBLE_2(pow) TOLVU_LONG_DOUBLE_2(remainder)
#undef TOLVU_LONG_DOUBLE_1
#undef TOLVU_LONG_DOUBLE_2
long double frexpl(long double, int*);
int ilogbl(long double);
long double ldexpl(long double, int);
long double modfl(long double, long double*);
long double remquol(long double, long double, int*);
long double scalblnl(long double, long);
long double scalbnl(long double, int);
double erfc(double);
float erfcf(float);
double nexttoward(double, long double);
float nexttowardf(float, long double);
double nan(const char*);
float nanf(const char*);
long double nanl(const char*);
