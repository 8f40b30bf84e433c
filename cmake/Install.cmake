# Installing Teilomat like any other program of its platform, and its
# packages: on Linux the Debian package; on Windows a portable zip and an
# installer.
include(GNUInstallDirs)

set(TEILOMAT_APP_ID io.github.teilomat.Teilomat)

# The changelog and the AppStream releases are written by hand; they must
# name the project's version as their newest release.
file(STRINGS packaging/changelog changelog_top LIMIT_COUNT 1)
file(READ packaging/${TEILOMAT_APP_ID}.metainfo.xml metainfo)
string(REGEX MATCH "<release version=\"([^\"]*)\"" _ "${metainfo}")
set(metainfo_version "${CMAKE_MATCH_1}")
if(NOT changelog_top MATCHES "^teilomat \\(${PROJECT_VERSION}\\) "
   OR NOT metainfo_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog and packaging/${TEILOMAT_APP_ID}.metainfo.xml "
                      "must begin with release ${PROJECT_VERSION}")
endif()

# Windows keeps a program, its licence, its notices and the page in one
# folder.
if(WIN32)
  set(teilomat_bindir .)
  set(teilomat_docdir .)
  set(teilomat_pagedir .)
else()
  set(teilomat_bindir ${CMAKE_INSTALL_BINDIR})
  set(teilomat_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/teilomat)
  set(teilomat_pagedir ${CMAKE_INSTALL_DATADIR}/teilomat)
endif()

if(TARGET teilomat)
  install(TARGETS teilomat RUNTIME DESTINATION ${teilomat_bindir})
  if(NOT WIN32)
    # The desktop entry and the AppStream metadata share the program's id.
    install(FILES packaging/${TEILOMAT_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES packaging/${TEILOMAT_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 32 48 64 128)
      install(FILES window/icons/teilomat-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME teilomat.png)
    endforeach()
    list(APPEND teilomat_manuals teilomat)
  endif()
endif()
if(TARGET teilomat-cli)
  install(TARGETS teilomat-cli RUNTIME DESTINATION ${teilomat_bindir})
  if(NOT WIN32)
    list(APPEND teilomat_manuals teilomat-cli)
  endif()
endif()

# The page (teilomat.html), which the web preset builds with Emscripten: the
# packages carry it when TEILOMAT_PAGE names it (./build.sh package and
# windows-package build it first). It holds its notices in itself. Beside it
# goes its opener, kanalliste.html, which leads to the channel-list view: a
# desktop opens a file by its path alone and drops a "#kanalliste". On Linux
# the menu entry "Teilomat Kanalliste" opens the opener with xdg-open,
# through teilomat-kanalliste; on Windows the installer's Start-menu entry of
# that name points at it.
set(TEILOMAT_PAGE "" CACHE FILEPATH "The page built by the web preset, for the packages")
if(TEILOMAT_PAGE)
  install(FILES ${TEILOMAT_PAGE} window/web/kanalliste.html DESTINATION ${teilomat_pagedir})
  if(NOT WIN32)
    file(RELATIVE_PATH TEILOMAT_PAGE_FROM_BIN /${teilomat_bindir} /${teilomat_pagedir})
    configure_file(packaging/teilomat-kanalliste.in teilomat-kanalliste @ONLY)
    install(PROGRAMS ${PROJECT_BINARY_DIR}/teilomat-kanalliste DESTINATION ${teilomat_bindir})
    install(FILES packaging/${TEILOMAT_APP_ID}.Kanalliste.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    list(APPEND teilomat_manuals teilomat-kanalliste)
  endif()
endif()

# The licence and the notices of what the programs contain. On Linux they
# are one machine-readable copyright file; CLI11 is the only code of others
# compiled into the programs, the page carries Emscripten's runtime and
# libraries and fast_float. The static Windows programs also carry the
# compiler's runtime, so they get a notices file of their own, with Windows
# line ends.
if(WIN32)
  set(notices "Teilomat ${PROJECT_VERSION} is released under the MIT licence (LICENSE.txt).\n")
  string(APPEND notices "These are the notices of the code of others that its programs contain.\n")
  set(notice_parts)
  if(TARGET teilomat-cli)
    list(APPEND notice_parts CLI11)
  endif()
  if(MINGW)
    list(APPEND notice_parts mingw-w64-runtime gcc-runtime)
  endif()
  if(TEILOMAT_PAGE)
    list(APPEND notice_parts emscripten-runtime fast_float)
  endif()
  foreach(part IN LISTS notice_parts)
    file(READ ${PROJECT_SOURCE_DIR}/packaging/notices/${part}.txt text)
    string(APPEND notices "\n\n${text}")
  endforeach()
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt CONTENT "${notices}"
       @ONLY NEWLINE_STYLE CRLF)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/LICENSE.txt CONTENT "${licence}" @ONLY
       NEWLINE_STYLE CRLF)
  file(READ ${PROJECT_SOURCE_DIR}/packaging/windows/LIESMICH.txt readme)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/LIESMICH.txt CONTENT "${readme}" @ONLY
       NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/LICENSE.txt ${PROJECT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt
                ${PROJECT_BINARY_DIR}/LIESMICH.txt
          DESTINATION ${teilomat_docdir})
else()
  install(FILES packaging/copyright DESTINATION ${teilomat_docdir})
endif()

# Manual pages and the changelog go in compressed, as Debian keeps them.
find_program(GZIP_PROGRAM gzip)
function(teilomat_install_packed source name destination)
  if(GZIP_PROGRAM)
    set(packed ${PROJECT_BINARY_DIR}/packed/${name}.gz)
    add_custom_command(OUTPUT ${packed}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packed
                       COMMAND ${GZIP_PROGRAM} -9nc ${source} > ${packed}
                       DEPENDS ${source} VERBATIM)
    add_custom_target(packed_${name} ALL DEPENDS ${packed})
    install(FILES ${packed} DESTINATION ${destination})
  else()
    install(FILES ${source} DESTINATION ${destination} RENAME ${name})
  endif()
endfunction()
foreach(page IN LISTS teilomat_manuals)
  teilomat_install_packed(${PROJECT_SOURCE_DIR}/packaging/${page}.1 ${page}.1
                          ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
if(NOT WIN32)
  teilomat_install_packed(${PROJECT_SOURCE_DIR}/packaging/changelog changelog ${teilomat_docdir})
endif()

set(CPACK_PACKAGE_NAME teilomat)
set(CPACK_PACKAGE_VENDOR "Teilomat")
set(CPACK_PACKAGE_CONTACT "Teilomat developers <teilomat@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PLL divider and data bytes for the TSA6057 synthesizer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Teilomat works out the divider ratio N, the VCO frequency and the three\n"
    "data bytes DB0 to DB2 of the TSA6057 PLL frequency synthesizer from a\n"
    "receive frequency, an intermediate frequency and a channel step of 1, 10\n"
    "or 25 kHz, and pulls the receive frequency onto the channel grid.\n"
    "The package holds the window (teilomat) and a command-line companion for\n"
    "firmware work (teilomat-cli): channel tables, C headers and decoding of\n"
    "data bytes.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # A portable zip, and an installer made with NSIS from the template in
  # packaging/windows: German only, for all users into Program
  # Files\Teilomat or for one user into their local application data,
  # registered under Apps & Features as "Teilomat".
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_FILE_NAME Teilomat-${PROJECT_VERSION}-win64)
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/windows/CPackOptions.cmake)
  set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Teilomat)
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Teilomat)
  set(CPACK_NSIS_PACKAGE_NAME Teilomat)
  set(CPACK_NSIS_DISPLAY_NAME Teilomat)
  set(CPACK_NSIS_UNINSTALL_NAME Deinstallieren)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/window/icons/teilomat.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/window/icons/teilomat.ico)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time, so no library link names them.
# The window's fixed layout is measured for the Liberation fonts; without
# fonts of their width it clips captions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# teilomat-kanalliste opens the page in the desktop's browser.
if(TEILOMAT_PAGE)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", xdg-utils")
endif()
include(CPack)
