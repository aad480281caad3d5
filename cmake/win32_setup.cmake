# Run by CPack's External generator once it has staged the install tree in
# CPACK_TEMPORARY_DIRECTORY: makensis builds the setup program from it and
# host/win32_setup.nsi. The program is written inside CPack's work folder and
# copied out only when makensis succeeded, so no partial setup program ever
# carries the final name.
find_program(AQUARIUM_MAKENSIS makensis)
if(NOT AQUARIUM_MAKENSIS)
  message(FATAL_ERROR "makensis not found: the setup program needs NSIS 3 (Debian package nsis)")
endif()

set(setup ${CPACK_TOPLEVEL_DIRECTORY}/aquarium-${CPACK_PACKAGE_VERSION}-setup.exe)
file(REMOVE ${setup})
execute_process(
  COMMAND ${AQUARIUM_MAKENSIS} -V2 -WX -DVERSION=${CPACK_PACKAGE_VERSION} -DPUBLISHER=${CPACK_PACKAGE_VENDOR}
          -DSTAGE=${CPACK_TEMPORARY_DIRECTORY} -DOUTFILE=${setup} ${CPACK_AQUARIUM_SETUP_SCRIPT}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "makensis failed (status ${status}) on ${CPACK_AQUARIUM_SETUP_SCRIPT}")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${setup})
