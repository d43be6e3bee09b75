set(TENJI_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
find_program(TENJI_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TENJI_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TENJI_WINE64})  # runs the tests here
endif()
