# The Debian package: `cpack -G DEB` in a build folder packs what
# `cmake --install` installs, under /usr, with the dependencies read from the
# shared libraries the programs link (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME ostra-tarvik)
set(CPACK_PACKAGE_VENDOR "Ostra Tarvik")
set(CPACK_PACKAGE_CONTACT "Ostra Tarvik <support@ostra-tarvik.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop log monitor following log files in real time")
set(CPACK_PACKAGE_DESCRIPTION
    "Follows growing log files, and the debug strings programs send, in real time, with include, exclude and highlight filters, bookmarks and e-mail notifications. Comes with tarvik-tail, a headless follower for the terminal, tarvik-reg for the settings store and tarvik-ods for sending debug strings from shell scripts.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://ostra-tarvik.example.org")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help page is opened with the desktop's browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
include(CPack)
