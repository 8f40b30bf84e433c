# The cross build for Windows (mingw-w64 on Debian): how its programs run
# under wine, and the build machine's header-only CLI11 made usable without
# handing all of /usr/include to the mingw compiler.

# Every Windows program that CMake runs (tests, test discovery) goes through
# scripts/wine_run.sh: wine with a prefix of its own per locale (LC_ALL) under
# build/<preset>/wine, created on first use.
find_program(TEILOMAT_WINE NAMES wine wine64)
if(TEILOMAT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine_run.sh
                                    ${PROJECT_BINARY_DIR}/wine)
endif()

# CLI11's Debian config names /usr/include as its include directory, which
# would put the build machine's C library headers before mingw's. Its headers
# are copied apart, and a config of our own points at the copy.
if(TEILOMAT_CLI)
  find_path(TEILOMAT_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
            NO_DEFAULT_PATH)
  if(NOT TEILOMAT_CLI11_INCLUDE)
    message(FATAL_ERROR "CLI11 not found: install libcli11-dev")
  endif()
  set(cli11 ${PROJECT_BINARY_DIR}/cli11)
  file(COPY ${TEILOMAT_CLI11_INCLUDE}/CLI DESTINATION ${cli11}/include)
  file(WRITE ${cli11}/CLI11Config.cmake
       "if(NOT TARGET CLI11::CLI11)\n"
       "  add_library(CLI11::CLI11 INTERFACE IMPORTED)\n"
       "  set_target_properties(CLI11::CLI11 PROPERTIES\n"
       "    INTERFACE_INCLUDE_DIRECTORIES \"${cli11}/include\")\n"
       "endif()\n")
  set(CLI11_DIR ${cli11} CACHE PATH "CLI11 for the cross build (headers copied apart)" FORCE)
endif()
