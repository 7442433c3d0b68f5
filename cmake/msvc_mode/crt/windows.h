// Constants of the Windows SDK that Wine's headers lack.
#pragma once
#include_next <windows.h>

// winnt.h: SetSecurityInfo's inheritance flags for a DACL.
#ifndef PROTECTED_DACL_SECURITY_INFORMATION
#define PROTECTED_DACL_SECURITY_INFORMATION 0x80000000L
#define UNPROTECTED_DACL_SECURITY_INFORMATION 0x20000000L
#endif
// wingdi.h: BitBlt copies layered windows too.
#ifndef CAPTUREBLT
#define CAPTUREBLT 0x40000000
#endif
