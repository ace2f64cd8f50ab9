# What `cmake --install` puts in place, in the freedesktop.org layout under
# the prefix, and the Debian package CPack makes of it (`cpack -G DEB` in
# the build folder). The icons are installed by resources/, which draws them.

install(TARGETS pensato RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/pensato.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/pensato.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pensato)
set(CPACK_PACKAGE_VENDOR Pensato)
set(CPACK_PACKAGE_CONTACT "Pensato <pensato@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "éditeur de diagrammes et de cartes mentales")
set(CPACK_PACKAGE_DESCRIPTION
"Pensato place des formes, des textes, des images et des formules
mathématiques sur une scène, les relie par des flèches et enregistre le
tout dans un fichier de scène (.pensascene). Une scène s'exporte en image
PNG ou JPG et en PDF, depuis la fenêtre ou en ligne de commande
(pensato --export).")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The Qt 5 libraries and everything else the program links, with the
# versions this build needs, as dpkg-shlibdeps finds them. The math fonts
# are inside the program.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in French; the program runs without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)
include(CPack)
