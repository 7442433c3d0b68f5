// The UCRT's locale forms that Wine's msvcrt ctype.h lacks and libc++'s
// Windows locale support calls. Declared only.
#pragma once
#include_next <ctype.h>

int __cdecl _islower_l(int, _locale_t);
int __cdecl _isupper_l(int, _locale_t);
