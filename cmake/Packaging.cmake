# The Debian package (scripts/package runs `cpack -G DEB` on a release build). The shared
# libraries the programs link against become dependencies through dpkg-shlibdeps; what they
# only load at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Quillon")
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program for USB digital microscopes")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon shows the live picture of a USB digital microscope with guides, takes stills,\n"
    "clips and time lapses, keeps them in a thumbnail gallery, plays clips, and measures on\n"
    "pictures: calibrated lengths, areas, angles, circles and text, with undo and redo.\n"
    "quillon-measure runs the same measurements from a script.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugins and a font to draw the interface with; mail goes through
# xdg-email, Chinese texts want a CJK font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core | fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/quillon/quillon")

include(CPack)
