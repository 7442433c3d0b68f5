// Wine's msvcrt headers predate the UCRT's struct timespec, which libc++'s
// Windows thread support uses.
#pragma once
#include_next <time.h>

struct timespec {
  time_t tv_sec;
  long tv_nsec;
};
