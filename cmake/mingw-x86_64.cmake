# Cross build of the Windows library for 64-bit hosts with Debian's mingw-w64.
# The -posix compilers: the win32 thread model of GCC 12 has no std::mutex.
set(KESTREL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
