# Third-party code, built from Debian's packages (scripts/setup fetches the sources).

# zlib and minizip from Debian's zlib source package.
set(ZLIB_SOURCE_DIR "${VARNEL_DEPS_DIR}/zlib")
if(NOT EXISTS "${ZLIB_SOURCE_DIR}/contrib/minizip/unzip.c")
    message(FATAL_ERROR "zlib sources missing in ${ZLIB_SOURCE_DIR}: run scripts/setup")
endif()
add_library(zlib_minizip OBJECT
    ${ZLIB_SOURCE_DIR}/adler32.c ${ZLIB_SOURCE_DIR}/crc32.c ${ZLIB_SOURCE_DIR}/inffast.c
    ${ZLIB_SOURCE_DIR}/inflate.c ${ZLIB_SOURCE_DIR}/inftrees.c ${ZLIB_SOURCE_DIR}/zutil.c
    ${ZLIB_SOURCE_DIR}/deflate.c ${ZLIB_SOURCE_DIR}/trees.c
    ${ZLIB_SOURCE_DIR}/contrib/minizip/unzip.c ${ZLIB_SOURCE_DIR}/contrib/minizip/ioapi.c)
target_include_directories(zlib_minizip SYSTEM PUBLIC ${ZLIB_SOURCE_DIR} ${ZLIB_SOURCE_DIR}/contrib/minizip)
target_compile_definitions(zlib_minizip PRIVATE NOCRYPT)
target_compile_options(zlib_minizip PRIVATE -w)

# stb: only its own folder goes on the cross compiler's include path.
add_library(stb INTERFACE)
target_include_directories(stb SYSTEM INTERFACE /usr/include/stb)

# pugixml: the benchmark peer of the XML reader.
set(PUGIXML_SOURCE_DIR "${VARNEL_DEPS_DIR}/pugixml")
if(EXISTS "${PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
    add_library(pugixml STATIC ${PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
    target_include_directories(pugixml SYSTEM PUBLIC ${PUGIXML_SOURCE_DIR}/src)
endif()

# GoogleTest from Debian's googletest sources.
if(VARNEL_BUILD_TESTS)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The stamp tool must run at build time on the build machine, so it is also
# compiled natively with the host compiler.
find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
