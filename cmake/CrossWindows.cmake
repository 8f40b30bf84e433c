# The cross build for Windows (mingw-w64 on Debian): how its programs run
# under wine.

# Every Windows program that CMake runs (tests, test discovery) goes through
# scripts/wine_run.sh: wine with a prefix of its own per locale (LC_ALL) under
# build/<preset>/wine, created on first use.
find_program(TEILOMAT_WINE NAMES wine wine64)
if(TEILOMAT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine_run.sh
                                    ${PROJECT_BINARY_DIR}/wine)
endif()

