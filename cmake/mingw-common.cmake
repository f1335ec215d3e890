# Shared part of the MinGW-w64 cross toolchains. The including file sets TARVO_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${TARVO_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVO_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${TARVO_TRIPLE}-windres)
set(CMAKE_OBJDUMP      ${TARVO_TRIPLE}-objdump CACHE FILEPATH "objdump for the target")
set(CMAKE_STRIP        ${TARVO_TRIPLE}-strip CACHE FILEPATH "strip for the target")

# libjpeg-turbo is built once per target into a prefix outside the source tree
# (scripts/build-libjpeg); its location comes from the environment or the cache.
if(NOT TARVO_JPEG_PREFIX AND DEFINED ENV{TARVO_JPEG_PREFIX})
  set(TARVO_JPEG_PREFIX $ENV{TARVO_JPEG_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${TARVO_TRIPLE} ${TARVO_JPEG_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
