# CMake toolchain for cross-building 64-bit Windows executables with MinGW-w64 on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(toolchain_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${toolchain_prefix}-gcc)
set(CMAKE_CXX_COMPILER ${toolchain_prefix}-g++)
set(CMAKE_RC_COMPILER ${toolchain_prefix}-windres)
# LUMIVEX_JPEG_PREFIX, LUMIVEX_PNG_PREFIX: where scripts/bootstrap installed the cross-built libjpeg-turbo and libspng.
set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_prefix} ${LUMIVEX_JPEG_PREFIX} ${LUMIVEX_PNG_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
