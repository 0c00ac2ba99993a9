# Install rules: both programs, and what a Linux desktop needs to offer them (menu entry, icons,
# file types, software-centre data, manual pages, shell completion). Included after the
# programs' folders, so that it only installs what this tree builds.

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
# independent of the build time. brisna_man_page(SOURCE LANGUAGE [DEPENDS...]) installs the
# page into section 1 of LANGUAGE ("" for the untranslated pages).
set(brisna_man_pages)
function(brisna_man_page source language)
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
  install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${section})
endfunction()

# Debian ships its programs without the compiler's .comment and the .note section
# (binary-has-unneeded-section otherwise); a stripped install (cpack, cmake --install --strip)
# removes them after the strip.
function(brisna_strip_comments program)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR \"objcopy could not remove the .comment section of ${program}\")
  endif()
endif()")
endfunction()

# The changelog and the command line's manual go into the package's doc folder. Debian reads
# changelog.gz of a native package as a Debian changelog, so it is written in that format.
set(brisna_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brisnamake)
set(brisna_changelog ${CMAKE_BINARY_DIR}/doc/changelog)
set(BRISNA_PACKAGE_MAINTAINER "BrisnaMake developers <brisnamake@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
add_custom_command(OUTPUT ${brisna_changelog}.gz
                   COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/CHANGELOG.md
                           -DOUTPUT=${brisna_changelog} -DPACKAGE=brisnamake
                           "-DMAINTAINER=${BRISNA_PACKAGE_MAINTAINER}"
                           -P ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
                   COMMAND gzip -9nf ${brisna_changelog}
                   DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
                   COMMENT "Writing the changelog in Debian's format" VERBATIM)
add_custom_target(brisna-changelog ALL DEPENDS ${brisna_changelog}.gz)
install(FILES ${brisna_changelog}.gz DESTINATION ${brisna_doc_dir})

if(TARGET brisnamake-cli)
  install(TARGETS brisnamake-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  brisna_strip_comments(brisnamake-cli)
  install(FILES ${CMAKE_SOURCE_DIR}/docs/cli.md DESTINATION ${brisna_doc_dir})
  # The command line's manual page and completion are generated from its own option tables.
  if(TARGET brisnamake-cli-docs)
    set(cli_docs ${CMAKE_BINARY_DIR}/src/cli)
    brisna_man_page(${cli_docs}/brisnamake-cli.1 "")
    brisna_man_page(${cli_docs}/zh_CN/brisnamake-cli.1 zh_CN)
    install(FILES ${cli_docs}/brisnamake-cli.bash-completion
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME brisnamake-cli)
    install(FILES ${cli_docs}/_brisnamake-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
    install(FILES ${cli_docs}/brisnamake-cli.fish
            DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
  endif()
endif()

if(TARGET BrisnaMake)
  install(TARGETS BrisnaMake RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  brisna_strip_comments(BrisnaMake)
  install(FILES ${CMAKE_BINARY_DIR}/docs/manual.zh_CN.html DESTINATION ${brisna_doc_dir})
  install(FILES ${brisna_res}/${BRISNA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(DIRECTORY ${brisna_res}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  configure_file(${brisna_res}/${BRISNA_APP_ID}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/res/${BRISNA_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/res/${BRISNA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  configure_file(${CMAKE_SOURCE_DIR}/man/BrisnaMake.1.in ${brisna_man_dir}/BrisnaMake.1 @ONLY)
  brisna_man_page(${brisna_man_dir}/BrisnaMake.1 "")
  configure_file(${CMAKE_SOURCE_DIR}/man/zh_CN/BrisnaMake.1.in ${brisna_man_dir}/zh_CN/BrisnaMake.1 @ONLY)
  brisna_man_page(${brisna_man_dir}/zh_CN/BrisnaMake.1 zh_CN)
endif()

# Books are written by either program, so the file types come with both.
install(FILES ${brisna_res}/${BRISNA_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${BRISNA_APP_ID}.xml)
# Debian looks for the licence under the package's name.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${brisna_doc_dir} RENAME copyright)

if(brisna_man_pages)
  add_custom_target(brisna-man-pages ALL DEPENDS ${brisna_man_pages})
  if(TARGET brisnamake-cli-docs)
    add_dependencies(brisna-man-pages brisnamake-cli-docs)
  endif()
endif()
