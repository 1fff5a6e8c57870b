# The program's version texts, in one place. CMake reads this file before
# project(), and makes from it the version header (resources/version_info.h),
# the desktop entry, the AppStream metainfo and the Debian package's version.
# UTF-8; the blank in the description is the ideographic one (U+3000) and the
# product name's katakana are half-width.

set(TESSERAK_APP_NAME "Tesserak")
# The program's id on the desktop: the names of its desktop entry and metainfo.
set(TESSERAK_APP_ID "io.github.tesserak.Tesserak")
set(TESSERAK_COMMENTS "ファイルを分割して保存するツール")
set(TESSERAK_FILE_DESCRIPTION "ファイル分割ツール　Tesserak")
set(TESSERAK_PRODUCT_NAME "Tesserak ｱﾌﾟﾘｹｰｼｮﾝ")
set(TESSERAK_INTERNAL_NAME "Tesserak")
# The Windows program's file name, as its version record states it.
set(TESSERAK_ORIGINAL_FILENAME "tesserak.exe")
# The copyright line of the version record is the licence's own, so the two
# cannot drift apart.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../LICENSE" TESSERAK_LEGAL_COPYRIGHT
     REGEX "^Copyright " LIMIT_COUNT 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${CMAKE_CURRENT_LIST_DIR}/../LICENSE")

set(TESSERAK_VERSION_MAJOR 1)
set(TESSERAK_VERSION_MINOR 0)
set(TESSERAK_VERSION_PATCH 0)
set(TESSERAK_VERSION_BUILD 0)
# The day this version was released, for the metainfo's release list.
set(TESSERAK_RELEASE_DATE "2026-12-07")

# Derived forms: "1.0.0.0", "1, 0, 0, 0", and "1.0" for the About box.
set(TESSERAK_VERSION
    "${TESSERAK_VERSION_MAJOR}.${TESSERAK_VERSION_MINOR}.${TESSERAK_VERSION_PATCH}.${TESSERAK_VERSION_BUILD}")
set(TESSERAK_FILE_VERSION_TEXT
    "${TESSERAK_VERSION_MAJOR}, ${TESSERAK_VERSION_MINOR}, ${TESSERAK_VERSION_PATCH}, ${TESSERAK_VERSION_BUILD}")
set(TESSERAK_PRODUCT_VERSION_TEXT "${TESSERAK_FILE_VERSION_TEXT}")
set(TESSERAK_SHORT_VERSION "${TESSERAK_VERSION_MAJOR}.${TESSERAK_VERSION_MINOR}")
set(TESSERAK_VERSION_ABOUT_LINE "${TESSERAK_APP_NAME} Version ${TESSERAK_SHORT_VERSION}")
