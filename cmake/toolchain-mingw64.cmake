# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#
#   cmake -S . -B build-mingw -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
#     -DVLH_HOST_TOOLS=<native build folder holding tools/resgen/resgen ...> \
#     -DVLH_WX_MINGW=<prefix from scripts/build-wx-mingw>
#
# scripts/build-windows does all of that. Results run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VLH_MINGW_TRIPLET x86_64-w64-mingw32)
# The POSIX thread model: the Win32 one has no std::mutex, which GoogleTest
# needs. Its thread library is linked in statically with the rest.
set(CMAKE_C_COMPILER ${VLH_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VLH_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VLH_MINGW_TRIPLET}-windres)

# Headers and libraries of the target only (zlib: libz-mingw-w64-dev); build
# programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VLH_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The module links everything in: zlib as its static library, not the DLL's
# import library.
set(ZLIB_USE_STATIC_LIBS ON)

# Every program and library links the compiler's runtime (libgcc, libstdc++,
# winpthread) in: a Windows machine has none of them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
