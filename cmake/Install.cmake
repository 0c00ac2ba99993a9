# Install rules: both programs, and what a Linux desktop needs to offer them (menu entry, icons,
# file types, software-centre data, manual pages, shell completion). Included after the
# programs' folders, so that it only installs what this tree builds.
# Every file belongs to one of two components, which become the two Debian packages: `cli`
# (brisnamake-cli, usable on a machine without any display library) and `gui` (the window).

# The name the desktop knows the window by: the .desktop file, the icons, the AppStream data
# and the MIME package are all called after it.
set(BRISNA_APP_ID io.github.brisnamake.BrisnaMake)
# Date of the release named by the project version, for the manual pages and the AppStream data.
set(BRISNA_RELEASE_DATE 2026-12-08)
set(BRISNA_HOMEPAGE_URL "https://github.com/brisnamake/BrisnaMake"
    CACHE STRING "Home page named in the package and the AppStream data")
set(BRISNA_SCREENSHOT_URL "https://raw.githubusercontent.com/brisnamake/BrisnaMake/main/docs/screenshots"
    CACHE STRING "Where software centres fetch the screenshots of docs/screenshots from")

set(brisna_res ${CMAKE_SOURCE_DIR}/res)
set(brisna_man_dir ${CMAKE_BINARY_DIR}/man)

# Manual pages are gzipped at build time, as Debian ships them; gzip -n keeps the bytes
# independent of the build time. brisna_man_page(SOURCE LANGUAGE COMPONENT [DEPENDS...])
# installs the page into section 1 of LANGUAGE ("" for the untranslated pages).
set(brisna_man_pages)
function(brisna_man_page source language component)
  get_filename_component(name ${source} NAME)
  set(section man1)
  if(language)
    set(section ${language}/man1)
  endif()
  set(copy ${brisna_man_dir}/gz/${section}/${name})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
                     COMMAND gzip -9nf ${copy}
                     DEPENDS ${source} ${ARGN}
                     COMMENT "Compressing the manual page ${section}/${name}" VERBATIM)
  set(brisna_man_pages ${brisna_man_pages} ${copy}.gz PARENT_SCOPE)
  install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${section} COMPONENT ${component})
endfunction()

# Debian ships its programs without the compiler's .comment and the .note section
# (binary-has-unneeded-section otherwise); a stripped install (cpack, cmake --install --strip)
# removes them after the strip.
function(brisna_strip_comments program component)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR \"objcopy could not remove the .comment section of ${program}\")
  endif()
endif()" COMPONENT ${component})
endfunction()

# Each package has its doc folder, named after it, with the licence as `copyright` and the
# changelog; the command line's manual goes with the command line. Debian reads changelog.gz of
# a native package as a Debian changelog, so it is written in that format, under each package's
# name.
set(BRISNA_PACKAGE_MAINTAINER "BrisnaMake developers <brisnamake@example.org>"
    CACHE STRING "Maintainer field of the Debian packages")
set(brisna_changelogs)
function(brisna_package_docs package component)
  set(changelog ${CMAKE_BINARY_DIR}/doc/${package}/changelog)
  add_custom_command(OUTPUT ${changelog}.gz
                     COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/CHANGELOG.md
                             -DOUTPUT=${changelog} -DPACKAGE=${package}
                             "-DMAINTAINER=${BRISNA_PACKAGE_MAINTAINER}"
                             -P ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
                     COMMAND gzip -9nf ${changelog}
                     DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
                     COMMENT "Writing the changelog of ${package} in Debian's format" VERBATIM)
  set(brisna_changelogs ${brisna_changelogs} ${changelog}.gz PARENT_SCOPE)
  install(FILES ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          RENAME copyright COMPONENT ${component})
endfunction()
set(brisna_cli_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brisnamake-cli)
set(brisna_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brisnamake)

if(TARGET brisnamake-cli)
  install(TARGETS brisnamake-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
  brisna_strip_comments(brisnamake-cli cli)
  brisna_package_docs(brisnamake-cli cli)
  install(FILES ${CMAKE_SOURCE_DIR}/docs/cli.md DESTINATION ${brisna_cli_doc_dir} COMPONENT cli)
  # The command line's manual page and completion are generated from its own option tables.
  if(TARGET brisnamake-cli-docs)
    set(cli_docs ${CMAKE_BINARY_DIR}/src/cli)
    brisna_man_page(${cli_docs}/brisnamake-cli.1 "" cli)
    brisna_man_page(${cli_docs}/zh_CN/brisnamake-cli.1 zh_CN cli)
    install(FILES ${cli_docs}/brisnamake-cli.bash-completion
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME brisnamake-cli
            COMPONENT cli)
    install(FILES ${cli_docs}/_brisnamake-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
            COMPONENT cli)
    install(FILES ${cli_docs}/brisnamake-cli.fish
            DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d COMPONENT cli)
  endif()
endif()

if(TARGET BrisnaMake)
  install(TARGETS BrisnaMake RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
  brisna_strip_comments(BrisnaMake gui)
  brisna_package_docs(brisnamake gui)
  install(FILES ${CMAKE_BINARY_DIR}/docs/manual.zh_CN.html DESTINATION ${brisna_doc_dir} COMPONENT gui)
  install(FILES ${brisna_res}/${BRISNA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT gui)
  install(DIRECTORY ${brisna_res}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT gui)
  configure_file(${brisna_res}/${BRISNA_APP_ID}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/res/${BRISNA_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/res/${BRISNA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT gui)
  configure_file(${CMAKE_SOURCE_DIR}/man/BrisnaMake.1.in ${brisna_man_dir}/BrisnaMake.1 @ONLY)
  brisna_man_page(${brisna_man_dir}/BrisnaMake.1 "" gui)
  configure_file(${CMAKE_SOURCE_DIR}/man/zh_CN/BrisnaMake.1.in ${brisna_man_dir}/zh_CN/BrisnaMake.1 @ONLY)
  brisna_man_page(${brisna_man_dir}/zh_CN/BrisnaMake.1 zh_CN gui)
endif()

# Books are written by either program; the window's package depends on the command line's, so
# the file types come with the command line.
install(FILES ${brisna_res}/${BRISNA_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${BRISNA_APP_ID}.xml COMPONENT cli)
if(brisna_changelogs)
  add_custom_target(brisna-changelog ALL DEPENDS ${brisna_changelogs})
endif()

if(brisna_man_pages)
  add_custom_target(brisna-man-pages ALL DEPENDS ${brisna_man_pages})
  if(TARGET brisnamake-cli-docs)
    add_dependencies(brisna-man-pages brisnamake-cli-docs)
  endif()
endif()
