# Writes SHA256SUMS in a dist folder for the installers it holds (one per architecture), in the
# format `sha256sum -c SHA256SUMS` reads there. Run as a script after each build and after
# signing:  cmake -DTARVO_DIST=<folder> -P cmake/Checksums.cmake
if(NOT TARVO_DIST)
  message(FATAL_ERROR "TARVO_DIST: the dist folder is not given")
endif()
file(GLOB installers RELATIVE "${TARVO_DIST}" "${TARVO_DIST}/*/tarvo-setup.exe")
list(SORT installers)
set(lines "")
foreach(installer IN LISTS installers)
  file(SHA256 "${TARVO_DIST}/${installer}" hash)
  string(APPEND lines "${hash}  ${installer}\n")
endforeach()
# Replaced in one step, so that a reader never sees half a file (nor one of two builds the
# other's half).
string(RANDOM LENGTH 8 suffix)
file(WRITE "${TARVO_DIST}/SHA256SUMS.${suffix}" "${lines}")
file(RENAME "${TARVO_DIST}/SHA256SUMS.${suffix}" "${TARVO_DIST}/SHA256SUMS")
