# The Debian package, made with cpack -G DEB in the build folder.
set(doc_dir share/doc/ostrel)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${doc_dir})
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog > ${changelog}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(ostrel_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrel)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_CONTACT "Quorvane Ltd <tc@quorvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Time code calculator for video and film editors")
# CPack keeps these line breaks; Debian wants the lines of the long description short.
set(CPACK_PACKAGE_DESCRIPTION [[
Ostrel adds, subtracts, multiplies and divides time codes and frame counts
under film 24, 23.98, NTSC non-drop frame, NTSC drop frame, PAL 25 or raw
frame counts. It keeps two memories and puts values on the clipboard.
.
ostrel-tc, its command-line companion, evaluates the same time code
expressions for scripts at fourteen rates up to 119.88 drop frame, with
feet+frames, real time and rate conversion.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorvane.example/ostrel/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# shlibdeps adds the libraries. The fixed layout clips its labels in any other font, and
# with no X display the program runs on Wayland, which needs Qt's plugin: both are needed
# to use the program at all, not extras.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-wayland")
# The debug information goes into a second package, ostrel-dbgsym, and the shipped
# binaries are stripped.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# Mends what CPack gets wrong for Debian; see the script.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/mend_packages.cmake)
set(CPACK_OSTREL_SOURCE_DATE_EPOCH ${OSTREL_SOURCE_DATE_EPOCH})
include(CPack)
