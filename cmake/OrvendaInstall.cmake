# Installation and the Debian package.
#
#   <prefix>/bin/                 Orvenda, orvenda-cli
#   <prefix>/lib/orvenda/         libHalvikLib.so, the progress layer, Halvik.uir
#   <prefix>/include/             halvik_api.h, for C callers of the library
#   <prefix>/share/...            pkg-config file, desktop entry, icon,
#                                 AppStream metainfo, MIME type, man pages
#
# Every run path is relative ($ORIGIN), so the installed tree works from any
# prefix and from an unpacked package.
include(GNUInstallDirs)

set(ORVENDA_PRIVATE_LIBDIR lib/orvenda)

# Programs find the private folder from bin/; in the build tree everything
# sits in bin/ itself.
foreach(program Orvenda orvenda-cli)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN:$ORIGIN/../${ORVENDA_PRIVATE_LIBDIR}")
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

foreach(library HalvikLib OrvendaRte OrvendaRteQt)
  if(TARGET ${library})
    install(TARGETS ${library} LIBRARY DESTINATION ${ORVENDA_PRIVATE_LIBDIR})
  endif()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/engine/rte/Halvik.uir DESTINATION ${ORVENDA_PRIVATE_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/common/halvik_api.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The Python module finds the library from here as ../../../orvenda/.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/python/orvenda DESTINATION lib/python3/dist-packages
        PATTERN __pycache__ EXCLUDE)

configure_file(${PROJECT_SOURCE_DIR}/packaging/halvik.pc.in ${CMAKE_BINARY_DIR}/packaging/halvik.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/halvik.pc DESTINATION ${CMAKE_INSTALL_DATADIR}/pkgconfig)

if(TARGET Orvenda)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/orvenda.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/orvenda.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/io.github.orvenda.Orvenda.metainfo.xml
                 ${CMAKE_BINARY_DIR}/packaging/io.github.orvenda.Orvenda.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/io.github.orvenda.Orvenda.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/orvenda-awv.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Documentation of the package: copyright and a compressed changelog.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(ORVENDA_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${ORVENDA_CHANGELOG_GZ}
  COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/changelog > ${ORVENDA_CHANGELOG_GZ}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(orvenda_changelog ALL DEPENDS ${ORVENDA_CHANGELOG_GZ})
set(ORVENDA_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/orvenda)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${ORVENDA_CHANGELOG_GZ} DESTINATION ${ORVENDA_DOCDIR})

# Man pages from the programs' own --help and --version, so they never drift.
option(ORVENDA_MAN_PAGES "Write the man pages with help2man" ON)
find_program(HELP2MAN help2man)
if(HELP2MAN AND ORVENDA_MAN_PAGES)
  set(manual_pages)
  foreach(program orvenda-cli Orvenda)
    if(TARGET ${program})
      set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
      if(program STREQUAL "Orvenda")
        set(summary "convert baseband I/Q samples into signal generator waveform files")
      else()
        set(summary "convert and inspect signal generator waveform files from the command line")
      endif()
      add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                ${HELP2MAN} --no-info --no-discard-stderr --name=${summary} --output=${page} $<TARGET_FILE:${program}>
        COMMAND gzip -9nf ${page}
        DEPENDS ${program}
        COMMENT "Writing the man page of ${program}"
        VERBATIM)
      list(APPEND manual_pages ${page}.gz)
    endif()
  endforeach()
  add_custom_target(orvenda_man_pages ALL DEPENDS ${manual_pages})
  install(FILES ${manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# make package: a Debian package whose dependencies dpkg-shlibdeps finds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvenda)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Orvenda developers")
set(CPACK_PACKAGE_CONTACT "Orvenda developers <orvenda@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert baseband I/Q samples into signal generator waveform files")
set(CPACK_PACKAGE_DESCRIPTION "Orvenda loads baseband I/Q samples (text, CSV, 16-bit or float binary),
sets the arbitrary-waveform options of a signal generator, draws two marker
signals and writes the waveform file (.awv) that the instrument plays.
orvenda-cli converts and inspects waveform files without a desktop.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
