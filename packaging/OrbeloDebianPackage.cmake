# CPack settings for the Debian package. The libraries the binaries link are found by
# dpkg-shlibdeps; what they load or run at run time, which it cannot see, is listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbelo)
set(CPACK_PACKAGE_VERSION ${ORBELO_VERSION})
set(CPACK_PACKAGE_VENDOR Orbelo)
set(CPACK_PACKAGE_CONTACT "Orbelo developers <desktop@orbelo.app>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${ORBELO_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "study assistant: courses, flashcards, quizzes and notes")
set(CPACK_PACKAGE_DESCRIPTION
    "Orbelo turns course material into courses with study plans, notes, flashcards with spaced\n"
    "repetition, practice tests, mnemonics, reading guides, narrated audio, a focus timer and\n"
    "reminders. The package holds the desktop app, its notification agent and the local server\n"
    "the app runs against.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
# Installed with DESTDIR under the package's own prefix, so that install scripts see /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(ORBELO_RUNTIME_DEPENDS
    # the QML modules the screens import, and the Basic style's templates
    qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
    qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates
    qml6-module-qtquick-layouts qml6-module-qtquick-window qml6-module-qtquick-dialogs
    qml6-module-qt-labs-folderlistmodel qml6-module-qtmultimedia
    # plugins Qt loads by name: SQLite for the server's store
    libqt6sql6-sqlite
    # text recognition's English model
    tesseract-ocr-eng
    # what the local server runs or reads: PDF text, its certificate, speech, songs, word lists
    poppler-utils openssl espeak-ng sox libsox-fmt-base wamerican wordnet-base
    link-grammar-dictionaries-en tzdata
    # opening the browser for sign-in and links
    xdg-utils)
set(ORBELO_RUNTIME_RECOMMENDS
    # a Secret Service keeps the sign-in; without one the app asks again at each start
    "gnome-keyring | keepassxc"
    # speech for read-aloud, narration playback, image formats of syllabus photos
    "qt6-speech-speechd-plugin | qt6-speech-flite-plugin"
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good qt6-image-formats-plugins
    # clearer narration voices than espeak-ng's
    flite festival festvox-us-slt-hts
    # the server on PostgreSQL (--database, a school's deployment): Qt loads the driver by name
    libqt6sql6-psql)
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${ORBELO_RUNTIME_DEPENDS})
string(JOIN ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS ${ORBELO_RUNTIME_RECOMMENDS})

# The autostart entry lives under /etc: a configuration file dpkg keeps the user's edits of.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles "/etc/xdg/autostart/orbelo-notifier.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
include(CPack)
