# The Debian package, made by CPack from the install rules: `cpack -G DEB` in the build folder
# writes kelpra_<version>_<arch>.deb. Only the viewer goes in; kelpra-render and
# kelpra-make-sample-book stay build tools.
set(CPACK_PACKAGE_NAME kelpra)
set(CPACK_PACKAGE_VENDOR "The Kelpra developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "read the pictures of a folder as the pages of a book")
set(CPACK_PACKAGE_DESCRIPTION "\
Kelpra shows the JPEG, PNG, GIF and BMP pictures of a folder as the pages of
a book, in name order: two portrait pages side by side as a spread, right to
left by default. It fits pages to the window with nine resampling filters,
rotates them, adjusts contrast, brightness and sharpness, turns pages on a
timer, and can be driven by keys, taps and touch gestures.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/kelpra/kelpra)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KELPRA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' packages come from the linked libraries (dpkg-shlibdeps). Qt's window-system
# plugins are only recommended by Qt itself, yet without them no window opens. The Delete question
# is Japanese: it must be legible before anyone confirms deleting a file, so a font covering it is
# a dependency, not a recommendation; any of these common Japanese fonts will do.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic | fonts-takao-gothic")
# The desktop's menu and icon caches are refreshed by dpkg triggers of the packages that keep them.

include(CPack)
