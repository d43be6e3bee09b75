set(TENJI_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# 32-bit Windows programs cannot run on this machine's kernel; the build is not run here.
