# The packages CPack makes from the install rules (`make package`, or `cpack` in the build folder),
# into build/packages/, each with a .sha256 file beside it (the checksum an update feed announces):
#   Linux: kelvo-<version>-Linux-<arch>.tar.gz, one folder holding bin/kelvo, bin/kelvo-window and
#          share/ that runs wherever it is unpacked, and kelvo_<version>_<arch>.deb, the same tree under /usr;
#   macOS: kelvo-<version>-Darwin-<arch>.dmg, Kelvo.app (with Qt inside) and a link to /Applications.
set(CPACK_PACKAGE_NAME kelvo)
set(CPACK_PACKAGE_VENDOR Kelvo)
set(CPACK_PACKAGE_CONTACT "Kelvo maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop maintenance utility: reclaim disk space, analyse storage")
# Broken into lines as a Debian description wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Kelvo finds disk space that can be reclaimed (caches, logs, browser and"
  "developer caches, the Trash, leftover application files, installer files,"
  "build artefacts), analyses storage, runs safe maintenance steps and shows a"
  "live picture of the machine. It previews everything and acts only after you"
  "confirm. Every text exists in English and Simplified Chinese. The kelvo"
  "command works in a terminal too; kelvo-window is the window.")
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# The build carries debug information for the developer; the packages do not.
set(CPACK_STRIP_FILES ON)

if(APPLE)
  set(CPACK_GENERATOR DragNDrop)
  set(CPACK_DMG_VOLUME_NAME Kelvo)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # dpkg-shlibdeps names the packages of the libraries the binary links, with their least versions.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # What no linker sees, loaded while the window starts: the SVG image plugin that draws the icons, and
  # the QML modules the views import (Controls' Basic style builds on the Templates, the non-native
  # file and folder dialogs on FolderListModel, QtQml on WorkerScript).
  string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS
    libqt6svg6
    qml6-module-qtquick
    qml6-module-qtquick-controls
    qml6-module-qtquick-templates
    qml6-module-qtquick-layouts
    qml6-module-qtquick-window
    qml6-module-qtquick-dialogs
    qml6-module-qt-labs-folderlistmodel
    qml6-module-qtqml-workerscript
    qml6-module-qtcore
    qml6-module-qt5compat-graphicaleffects)
  # A CJK font for the Chinese texts, and the WebP and TIFF readers for a window background in those
  # formats; the window works without them.
  string(JOIN ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk qt6-image-formats-plugins)
endif()

include(CPack)
