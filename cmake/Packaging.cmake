# The Debian packages: `cpack -G DEB` in a build tree gives one package per install component,
# brisnamake-cli_<version>_<arch>.deb (the command line, its manual pages and completions, the
# file types) and, when the window is built, brisnamake_<version>_<arch>.deb (the window, which
# depends on the command line of the same version). CPack's components rather than a debian/
# folder: the packages come from the same install rules and the same build tree as
# `cmake --install`, so no second list of files has to be kept in step with them.
# Library dependencies come from the binaries themselves (dpkg-shlibdeps), so the command line's
# package names no Qt, X or GL library (its covers are drawn through FreeType and fontconfig, not
# a display library); what the programs load by name at run time is declared by hand. No maintainer scripts: dpkg's triggers refresh the MIME, desktop and icon caches.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisnamake)
set(CPACK_PACKAGE_VENDOR "BrisnaMake developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# No CPACK_PACKAGE_DESCRIPTION_SUMMARY: CPack would put it in front of each package's own
# description, and each package's synopsis is the first line of its description below.
set(brisna_package_summary "prepare Chinese plain-text books as .qbr2 and .qbr e-books")
# Debian shows the long description as it is, so it is wrapped here.
string(CONCAT brisna_package_description
       "BrisnaMake opens a Chinese plain-text book (GBK, UTF-8, UTF-16 or Big5,\n"
       "detected or chosen), marks where each chapter begins - by hand, by\n"
       "keyword, by counting numbered headings or by recognising the heading\n"
       "form - checks the book for problems and generates it as .qbr2 and .qbr\n"
       "e-books beside the text, or as an EPUB 3 file for other readers.\n"
       "A novel of any length is written as several books (parts) of at most\n"
       "98 chapters each. Generated books and EPUB files open back into the\n"
       "editor.\n")
set(CPACK_PACKAGE_DESCRIPTION "${brisna_package_description}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_COMPONENTS_ALL cli)
if(TARGET BrisnaMake)
  list(APPEND CPACK_COMPONENTS_ALL gui)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# BRISNA_PACKAGE_MAINTAINER is set with the changelogs (Install.cmake), which name it too.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BRISNA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BRISNA_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME brisnamake-cli)
set(CPACK_DEBIAN_CLI_FILE_NAME DEB-DEFAULT)
# OpenCC opens its conversion tables by file name, so no library link shows the need.
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "libopencc-data")
# The EPUB cover drawn from a Chinese title needs a CJK face among the installed fonts; without
# one the title is a row of empty boxes, while everything else still works.
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-ukai")
string(CONCAT CPACK_DEBIAN_CLI_DESCRIPTION
       "prepare Chinese plain-text books as e-books (command line)\n"
       "${brisna_package_description}"
       "This package holds the command line brisnamake-cli, which needs no\n"
       "display: batch generation, checks, unpacking and operator scripts, with\n"
       "manual pages in English and Chinese and shell completions.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME brisnamake)
set(CPACK_DEBIAN_GUI_FILE_NAME DEB-DEFAULT)
# Without a CJK font every label of the window is an empty box, so one is needed, not only
# recommended.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS
    "brisnamake-cli (= ${PROJECT_VERSION}), fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-ukai")
# Qt's own dialogs in Chinese.
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "qt6-translations-l10n")
string(CONCAT CPACK_DEBIAN_GUI_DESCRIPTION
       "${brisna_package_summary}\n"
       "${brisna_package_description}"
       "This package holds the Qt window BrisnaMake, with its manual pages in\n"
       "English and Chinese; the command line comes in brisnamake-cli.")

# The package_source target packs the source tree only, never build trees or the repository.
set(CPACK_SOURCE_GENERATOR TGZ)
# A dot is matched as [.]: a backslash would be read once more when CPack loads its settings.
set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/build/" "^${PROJECT_SOURCE_DIR}/[.]git$"
                               "^${PROJECT_SOURCE_DIR}/[.]cache/")

include(CPack)
