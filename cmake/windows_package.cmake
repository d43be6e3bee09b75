# The Windows installer (NSIS, in Japanese) and a portable zip beside it:
# `cpack` in a Windows build folder.
install(TARGETS tenjiprint tenjiprint-console make-nrk RUNTIME DESTINATION .)
# For the user, in Japanese: what the program does, where the settings are,
# the console twin (the project's README is for its developers). UTF-8 with a
# byte-order mark and CR LF, so that every Notepad reads it.
install(FILES cmake/windows/readme-ja.txt DESTINATION .)
install(DIRECTORY samples/ DESTINATION samples)

set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_PACKAGE_NAME tenjiprint)
set(CPACK_PACKAGE_VENDOR tenjiprint)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "点字点間隔可変印刷プログラム")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tenjiprint)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_PACKAGE_FILE_NAME tenjiprint-${PROJECT_VERSION}-win64)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_TARGET amd64-unicode)  # a 64-bit installer: it runs where the program does
else()
  set(CPACK_PACKAGE_FILE_NAME tenjiprint-${PROJECT_VERSION}-win32)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
  set(CPACK_NSIS_TARGET x86-unicode)
endif()
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/windows/icon-146.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/app/windows/icon-146.ico)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_STRIP_FILES TRUE)
# Our own installer script (cmake/nsis/NSIS.template.in) instead of CPack's.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
include(CPack)
