# PAPPL for the printer application: Debian's 1.3.1 sources (fetched by
# scripts/install-deps.sh) with the project's changes in
# third_party/pappl/patches, built as a static library in the build folder.
include(ExternalProject)

set(TENJI_PAPPL_TARBALL /usr/local/src/pappl_1.3.1.orig.tar.gz CACHE FILEPATH "PAPPL 1.3.1 sources")
file(GLOB TENJI_PAPPL_PATCHES ${PROJECT_SOURCE_DIR}/third_party/pappl/patches/*.patch)
list(SORT TENJI_PAPPL_PATCHES)
set(patch_commands)
foreach(p IN LISTS TENJI_PAPPL_PATCHES)
  list(APPEND patch_commands COMMAND patch -p1 --forward --quiet -i ${p})
endforeach()

set(pappl_dir ${CMAKE_BINARY_DIR}/pappl-1.3.1)
ExternalProject_Add(pappl_build
  URL ${TENJI_PAPPL_TARBALL}
  URL_HASH SHA256=890fd12aca8e2b2a45d5a89ba5fc74b9ad8d3eeef39d31c6bbf9c563c311223a
  SOURCE_DIR ${pappl_dir}
  BUILD_IN_SOURCE ON
  PATCH_COMMAND true ${patch_commands}
  CONFIGURE_COMMAND ./configure --disable-shared CFLAGS=-O2\ -g
  BUILD_COMMAND make -C pappl libpappl.a
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${pappl_dir}/pappl/libpappl.a
  LOG_CONFIGURE ON LOG_BUILD ON LOG_PATCH ON LOG_OUTPUT_ON_FAILURE ON
  DOWNLOAD_EXTRACT_TIMESTAMP OFF
)
# A changed patch unpacks the sources afresh before all patches are applied.
ExternalProject_Add_StepDependencies(pappl_build download ${TENJI_PAPPL_PATCHES})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/third_party/pappl/patches)

find_package(PkgConfig REQUIRED)
pkg_check_modules(PAPPL_DEPS REQUIRED IMPORTED_TARGET avahi-client libjpeg libpng zlib libusb-1.0 libssl libcrypto)
add_library(tenji_pappl INTERFACE)
add_dependencies(tenji_pappl pappl_build)
target_include_directories(tenji_pappl SYSTEM INTERFACE ${pappl_dir})
target_link_libraries(tenji_pappl INTERFACE ${pappl_dir}/pappl/libpappl.a PkgConfig::PAPPL_DEPS cups pam
  ${CMAKE_DL_LIBS} Threads::Threads)
