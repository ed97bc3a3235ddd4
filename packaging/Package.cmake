# The Debian package (scripts/package.sh): cpack -G DEB in a build configured for /usr.
# Dependencies: the shared libraries the programs actually link (dpkg-shlibdeps), plus what
# they use at run time without linking it: the IPA fonts, the label products of
# glabels-data and the CUPS client.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovalin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tovalin developers")
set(CPACK_PACKAGE_CONTACT "The Tovalin developers <tovalin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Print Japanese addresses on postcards and A4 labels")
set(CPACK_PACKAGE_DESCRIPTION "Tovalin prints recipient addresses from a CSV address list (Shift-JIS or UTF-8) \
on Japanese postcards, with the postal code in the card's seven boxes, or on A4 label sheets \
chosen by product name. tovalin-print prints the same pages without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-ipamj-mincho, glabels-data, cups-client")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups")
include(CPack)
