# The second compiler: Clang and LLD for the same 64-bit MinGW-w64 target, with the
# MinGW-w64 headers, import libraries and GCC's C++ runtime (POSIX thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_STRIP ${TOOLCHAIN_PREFIX}-strip)

# Clang finds neither the C++ library nor libgcc in Debian's "12-posix" GCC folder by itself.
file(GLOB MINGW_GCC_DIRS /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix)
list(GET MINGW_GCC_DIRS 0 MINGW_GCC_DIR)
# The C++ runtime of that thread model needs winpthreads, linked statically like the rest
# (LLD takes archives in any order).
set(MINGW_LINK_FLAGS "-fuse-ld=lld -L${MINGW_GCC_DIR} -Wl,-Bstatic -lpthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT ${MINGW_LINK_FLAGS})
set(CMAKE_SHARED_LINKER_FLAGS_INIT ${MINGW_LINK_FLAGS})
set(CMAKE_MODULE_LINKER_FLAGS_INIT ${MINGW_LINK_FLAGS})
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${MINGW_GCC_DIR}/include/c++
    ${MINGW_GCC_DIR}/include/c++/${TOOLCHAIN_PREFIX}
    ${MINGW_GCC_DIR}/include/c++/backward)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
