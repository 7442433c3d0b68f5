# MSVC mode on Linux, for the lint.msvc check only: clang-cl as cl for
# x86_64-pc-windows-msvc, with Wine's Windows and C runtime headers and
# libc++ 14 in place of Visual Studio's SDK and STL. The tree is configured
# so that MSVC is true and the project's cl flags apply; it is compiled
# (syntax only) and never linked, since there are no Windows libraries here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
foreach(language C CXX)
  set(CMAKE_${language}_COMPILER clang-cl-14)
  set(CMAKE_${language}_COMPILER_TARGET x86_64-pc-windows-msvc)
endforeach()
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
# Nothing links, so the compiler checks make libraries, not programs.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(wine /usr/include/wine/wine)
set(libcxx /usr/lib/llvm-14/include/c++/v1)
# libc++ before the C runtime headers it wraps; cmake/msvc_mode fills the
# gaps of each (stl before libc++, crt before Wine's C runtime).
string(JOIN " " msvc_mode_flags
  -fms-compatibility-version=19.40
  "-imsvc ${CMAKE_CURRENT_LIST_DIR}/msvc_mode/stl" "-imsvc ${libcxx}"
  "-imsvc ${CMAKE_CURRENT_LIST_DIR}/msvc_mode/crt" "-imsvc ${wine}/msvcrt"
  "-imsvc ${wine}/windows" -DWINE_UNICODE_NATIVE
  # libc++'s own exception classes, since there is no vcruntime here.
  -D_LIBCPP_NO_VCRUNTIME
  # Wine's winnt.h defines this clang builtin as a function of its own.
  -D_InterlockedCompareExchange128=wine_InterlockedCompareExchange128)
set(CMAKE_C_FLAGS_INIT "${msvc_mode_flags}")
set(CMAKE_CXX_FLAGS_INIT "${msvc_mode_flags}")
# The resource script is preprocessed by clang-cl, then compiled by llvm-rc.
set(CMAKE_RC_FLAGS_INIT "-imsvc ${wine}/msvcrt -imsvc ${wine}/windows -DWINE_UNICODE_NATIVE")
# A check that links nothing finds every library, pthreads included, which
# GoogleTest would then use instead of Windows' threads.
set(gtest_disable_pthreads ON CACHE BOOL "")
