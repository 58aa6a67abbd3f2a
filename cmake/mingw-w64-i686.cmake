# Cross build for 32-bit Windows with MinGW-w64; compiled as a check only,
# since 32-bit programs cannot run on these machines.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QH_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
