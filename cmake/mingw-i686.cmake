# Cross build of the Windows library for 32-bit hosts (the records' layout
# with 4-byte references is theirs) with Debian's mingw-w64.
set(KESTREL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
