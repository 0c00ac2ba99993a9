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
       "BrisnaMake opens a Chinese plain-text book (GBK, UTF-8, UTF-16 or Big5,\n"
       "detected or chosen), marks where each chapter begins - by hand, by\n"
       "keyword, by counting numbered headings or by recognising the heading\n"
       "form - checks the book for problems and generates it as .qbr2 and .qbr\n"
       "e-books beside the text, or as an EPUB 3 file for other readers.\n"
       "Generated books and EPUB files open back into the editor.\n"
       "The package holds the Qt window BrisnaMake and the command line\n"
       "brisnamake-cli, with manual pages in English and Chinese.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME brisnamake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# BRISNA_PACKAGE_MAINTAINER is set with the changelog (Install.cmake), which names it too.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BRISNA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BRISNA_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# OpenCC opens its conversion tables by file name, so no library link shows the need. Without a
# CJK font every label of the window is an empty box, so one is needed, not only recommended.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libopencc-data, fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-ukai")
# Qt's own dialogs in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# The package_source target packs the source tree only, never build trees or the repository.
set(CPACK_SOURCE_GENERATOR TGZ)
# A dot is matched as [.]: a backslash would be read once more when CPack loads its settings.
set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/build/" "^${PROJECT_SOURCE_DIR}/[.]git$"
                               "^${PROJECT_SOURCE_DIR}/[.]cache/")

include(CPack)
