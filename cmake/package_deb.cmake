# The Debian package: cmake --build --preset linux --target package writes
# build/linux/aquarium_<version>_amd64.deb, with
#   /usr/libexec/xscreensaver/aquarium            the saver, as an xscreensaver hack
#   /usr/share/xscreensaver/config/aquarium.xml   its settings descriptor
#   /usr/bin/aquarium-render, aquarium-meshtool   the offscreen renderer and the mesh tool
#   /usr/share/man/man6/aquarium.6.gz, man1/aquarium-render.1.gz, man1/aquarium-meshtool.1.gz
#   /usr/share/doc/aquarium/copyright, changelog.gz
# Its version is the project's; its Depends come from the programs' libraries
# (dpkg-shlibdeps, from dpkg-dev). The saver and its descriptor are installed
# by host/CMakeLists.txt; the rest here.
if(NOT AQUARIUM_HOST STREQUAL "x11")
  return()  # the package is the X11 saver's
endif()

set(AQUARIUM_PACKAGE_MAINTAINER "Aquarium Maintainers <aquarium@example.org>" CACHE STRING
    "The Maintainer line of the Debian package")

install(TARGETS aquarium-render aquarium-meshtool RUNTIME DESTINATION bin)

# Man pages and the changelog carry the version: written from templates, then
# compressed with no name or time stamp in the gzip header (gzip -9n), under a
# temporary name renamed once whole.
set(package_files ${CMAKE_BINARY_DIR}/package)
set(package_outputs)
function(add_gzipped template output)
  get_filename_component(name ${output} NAME_WLE)
  configure_file(${template} ${package_files}/${name} @ONLY)
  add_custom_command(OUTPUT ${package_files}/${output}
    COMMAND sh -c "gzip -9nc \"$1\" >\"$2.tmp\" && mv \"$2.tmp\" \"$2\""
            sh ${package_files}/${name} ${package_files}/${output}
    DEPENDS ${package_files}/${name}
    VERBATIM)
  set(package_outputs ${package_outputs} ${package_files}/${output} PARENT_SCOPE)
endfunction()
add_gzipped(${CMAKE_SOURCE_DIR}/docs/man/aquarium.6.in aquarium.6.gz)
add_gzipped(${CMAKE_SOURCE_DIR}/docs/man/aquarium-render.1.in aquarium-render.1.gz)
add_gzipped(${CMAKE_SOURCE_DIR}/docs/man/aquarium-meshtool.1.in aquarium-meshtool.1.gz)
add_gzipped(${CMAKE_SOURCE_DIR}/docs/debian/changelog.in changelog.gz)
add_custom_target(package_files ALL DEPENDS ${package_outputs})

install(FILES ${package_files}/aquarium.6.gz DESTINATION share/man/man6)
install(FILES ${package_files}/aquarium-render.1.gz ${package_files}/aquarium-meshtool.1.gz
        DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/docs/debian/copyright ${package_files}/changelog.gz
        DESTINATION share/doc/aquarium)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME aquarium)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # aquarium_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${AQUARIUM_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_ENHANCES xscreensaver)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D aquarium screen saver for xscreensaver")
# The extended description: CPack puts the summary above it, indents each
# line by one space and writes an empty line as " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
A glass tank on a pale floor, an arch of rock slabs, and nine fish of four
species that flock, give way to each other and steer around the rocks,
while the view turns about the tank every 30 seconds. It draws with
OpenGL, one view on every monitor, and rests while nobody can see it.

The saver runs as a hack of the xscreensaver daemon (pick Aquarium in
its settings), full screen, or in a window of its own. The package also
holds aquarium-render, which draws the same scene offscreen into PNG
pictures and CSV traces, and aquarium-meshtool, which writes and
summarises the fish models.")
include(CPack)
