# The resource script (icon, manifest and the three embedded files) and the payload digests
# the installer checks before it writes anything.
set(TARVO_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
set(TARVO_ICON_FILE "${CMAKE_SOURCE_DIR}/resources/icon.ico" CACHE FILEPATH "Icon of the executable and its window")
set(TARVO_MANIFEST_FILE "${TARVO_GENERATED_DIR}/tarvo-setup.manifest")

function(tarvo_digest_initializer file out)
  file(SHA256 "${file}" hash)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," list "${hash}")
  string(REGEX REPLACE ",$" "" list "${list}")
  set(${out} "${list}" PARENT_SCOPE)
endfunction()

foreach(payload TARVO_PICTURE TARVO_LIBRARY_PAYLOAD TARVO_HELP_PAYLOAD)
  if(NOT EXISTS "${${payload}}")
    message(FATAL_ERROR "${payload}: no file at ${${payload}}")
  endif()
endforeach()

# Configuring again when a payload changes keeps the digests true to what is embedded.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  "${TARVO_LIBRARY_PAYLOAD}" "${TARVO_HELP_PAYLOAD}")
tarvo_digest_initializer("${TARVO_LIBRARY_PAYLOAD}" TARVO_LIBRARY_DIGEST)
tarvo_digest_initializer("${TARVO_HELP_PAYLOAD}" TARVO_HELP_DIGEST)

configure_file(resources/PayloadDigests.h.in "${TARVO_GENERATED_DIR}/PayloadDigests.h" @ONLY)
configure_file(resources/manifest.xml.in "${TARVO_MANIFEST_FILE}" @ONLY)
configure_file(resources/tarvo-setup.rc.in "${TARVO_GENERATED_DIR}/tarvo-setup.rc" @ONLY)
set(TARVO_RESOURCE_SCRIPT "${TARVO_GENERATED_DIR}/tarvo-setup.rc")
set_source_files_properties("${TARVO_RESOURCE_SCRIPT}" PROPERTIES
  OBJECT_DEPENDS "${TARVO_ICON_FILE};${TARVO_MANIFEST_FILE};${TARVO_PICTURE};${TARVO_LIBRARY_PAYLOAD};${TARVO_HELP_PAYLOAD}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources -I${TARVO_GENERATED_DIR}")

# The banner is decoded at run time by a libjpeg built without progressive, multi-scan, 12-bit
# and arithmetic decoding: a banner that needs them stops the build, with what to convert it to.
find_program(TARVO_BASH bash REQUIRED)
set(TARVO_BANNER_CHECKED "${TARVO_GENERATED_DIR}/banner.checked")
add_custom_command(OUTPUT "${TARVO_BANNER_CHECKED}"
  COMMAND "${TARVO_BASH}" "${CMAKE_SOURCE_DIR}/cmake/check-banner" "${TARVO_PICTURE}"
  COMMAND "${CMAKE_COMMAND}" -E touch "${TARVO_BANNER_CHECKED}"
  DEPENDS "${TARVO_PICTURE}" "${CMAKE_SOURCE_DIR}/cmake/check-banner"
  COMMENT "Checking that the installer's decoder can read the banner"
  VERBATIM)
add_custom_target(tarvo_banner_check DEPENDS "${TARVO_BANNER_CHECKED}")
