// What the UCRT's stdlib.h has and Wine's msvcrt one lacks, for libc++'s
// Windows locale support. Declared only: the MSVC-mode check links nothing.
#pragma once
#include_next <stdlib.h>

#ifndef MB_CUR_MAX
#define MB_CUR_MAX ___mb_cur_max_func()
#endif
float __cdecl _strtof_l(const char*, char**, _locale_t);
double __cdecl _strtod_l(const char*, char**, _locale_t);
