# Installation and the Debian package.
#
# Layout: Debian's for games (a package of Section games keeps its programs in games/ and
# its data in share/games/): the five programs in games/, the game folder's delivered
# files in share/games/qon/ (the logo, the effects, the starter sets, the lists naming them
# relative to the folder, Init.bse and Tessel's help pages), and the desktop files in their
# standard places (GNUInstallDirs). A program finds its game folder as
# <its folder>/../share/games/qon/ when its own folder holds no game, so the install works
# under any prefix. An installed game folder is never
# written: each player's Init.bse, lists and saves of the delivered stage projects go to
# $XDG_DATA_HOME/qon (~/.local/share/qon).
#
# The installed folder comes from a clean staging of the starter content (QON_DIST_DIR),
# not from the playable build folder, which holds a developer's own lists and saves.

include(GNUInstallDirs)

# The programs look for the game folder at this path relative to their own folder.
set(QON_INSTALL_BIN_DIR "games")
set(QON_INSTALL_GAME_DIR "${CMAKE_INSTALL_DATADIR}/games/qon")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(QON_BUILD_GAME)
  install(TARGETS qon RUNTIME DESTINATION "${QON_INSTALL_BIN_DIR}")
endif()
if(QON_BUILD_TOOLS)
  install(TARGETS Sorrel Tessel Pavane Orvinth RUNTIME DESTINATION "${QON_INSTALL_BIN_DIR}")
  # Tessel looks for its help pages beside itself, then in the installed game folder.
  install(FILES "${PROJECT_SOURCE_DIR}/tools/stage_editor/help/Tessel.html"
                "${PROJECT_SOURCE_DIR}/tools/stage_editor/help/Tessel_en.html"
          DESTINATION "${QON_INSTALL_GAME_DIR}")
endif()

install(DIRECTORY "${QON_DIST_DIR}/" DESTINATION "${QON_INSTALL_GAME_DIR}"
        PATTERN "icons" EXCLUDE)
install(DIRECTORY "${QON_DIST_DIR}/icons/hicolor" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons")

set(QON_DESKTOP_IDS Qon Tessel Sorrel Pavane Orvinth)
foreach(id IN LISTS QON_DESKTOP_IDS)
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/org.qonproject.${id}.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/packaging/org.qonproject.Qon.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/qon-mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME "qon.xml")

# Debian wants the copyright file and a changelog compressed at the highest level without
# a time stamp (a native package: changelog.gz).
set(QON_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/qon")
set(QON_CHANGELOG_GZ "${CMAKE_BINARY_DIR}/packaging/changelog.gz")
add_custom_command(
  OUTPUT "${QON_CHANGELOG_GZ}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/packaging"
  COMMAND sh -c "gzip -9n < '${PROJECT_SOURCE_DIR}/packaging/changelog' > '${QON_CHANGELOG_GZ}'"
  DEPENDS "${PROJECT_SOURCE_DIR}/packaging/changelog"
  COMMENT "Compressing the package's changelog"
  VERBATIM)
set(QON_PACKAGING_OUTPUTS "${QON_CHANGELOG_GZ}")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${QON_CHANGELOG_GZ}"
        DESTINATION "${QON_DOC_DIR}")

# A manual page for each program, in section 6 (games), compressed the same way.
foreach(program qon Tessel Sorrel Pavane Orvinth)
  set(page "${CMAKE_BINARY_DIR}/packaging/${program}.6.gz")
  add_custom_command(
    OUTPUT "${page}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/packaging"
    COMMAND sh -c "gzip -9n < '${PROJECT_SOURCE_DIR}/packaging/man/${program}.6' > '${page}'"
    DEPENDS "${PROJECT_SOURCE_DIR}/packaging/man/${program}.6"
    VERBATIM)
  list(APPEND QON_PACKAGING_OUTPUTS "${page}")
  install(FILES "${page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
endforeach()
add_custom_target(qon_packaging_files ALL DEPENDS ${QON_PACKAGING_OUTPUTS})

# cpack -G DEB (from the build folder) builds qon_<version>_<arch>.deb.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "qon")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "qon project")
set(CPACK_PACKAGE_CONTACT "qon project <maintainers@qonproject.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "block-breaking arcade game with player-made stages")
set(CPACK_PACKAGE_DESCRIPTION
    "Keep the ball in play with the bar and break every block of a stage:\n"
    "blocks that take up to eight hits, unbreakable walls and eleven special\n"
    "blocks. The game comes with starter stage projects, graphic sets and\n"
    "music sets, and with the four tools that make more: the stage editor\n"
    "Tessel, the set selector Sorrel, the graphic set creator Pavane and the\n"
    "music set creator Orvinth.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "qon project <maintainers@qonproject.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qonproject.org/")
# The libraries (SDL2, SDL2_mixer, SDL2_ttf, FluidSynth, Qt 6, fontconfig, the C and C++
# runtimes) are found by dpkg-shlibdeps; what the programs load by name is listed here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "timgm6mb-soundfont, fonts-motoya-l-maruberi | fonts-ipafont-gothic, qt6-qpa-plugins, fontconfig")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")
include(CPack)
