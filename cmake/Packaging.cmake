# The Debian package: `cpack -G DEB` in a build tree gives brisnamake_<version>_<arch>.deb.
# Library dependencies come from the binaries themselves (dpkg-shlibdeps); what the programs
# load by name at run time is declared by hand. No maintainer scripts: dpkg's triggers refresh
# the MIME, desktop and icon caches.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisnamake)
set(CPACK_PACKAGE_VENDOR "BrisnaMake developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare Chinese plain-text books as .qbr2 and .qbr e-books")
# Debian shows the long description as it is, so it is wrapped here.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "BrisnaMake opens a Chinese plain-text book (GBK), marks where each chapter\n"
       "begins - by hand, by keyword or by counting numbered headings - checks the\n"
       "book for problems and generates it as .qbr2 and .qbr e-books beside the\n"
       "text. Generated books open back into the editor.\n"
       "The package holds the Qt window BrisnaMake and the command line\n"
       "brisnamake-cli.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME brisnamake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(BRISNA_PACKAGE_MAINTAINER "BrisnaMake developers <brisnamake@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BRISNA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BRISNA_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# OpenCC opens its conversion tables by file name, so no library link shows the need.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libopencc-data")
# A CJK font for the book text and Qt's own dialogs in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")

# The package_source target packs the source tree only, never build trees or the repository.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/build/" "^${PROJECT_SOURCE_DIR}/\\.git$"
                               "^${PROJECT_SOURCE_DIR}/\\.cache/")

include(CPack)
