# The build for the browser (Debian's Emscripten): how its programs run
# under node.

# Node 18 and later have a global fetch, with which this Emscripten's glue
# fails to read its .wasm from a file path; without it the glue reads the
# file itself.
find_program(TEILOMAT_NODE NAMES nodejs node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TEILOMAT_NODE} --no-experimental-fetch)
