# The Debian package, `make package`: everything `cmake --install` puts, with
# the dependencies that dpkg-shlibdeps finds for the program.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tesserak")
set(CPACK_PACKAGE_VERSION "${TESSERAK_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Tesserak authors")
set(CPACK_PACKAGE_CONTACT
    "Tesserak maintainers <maintainers@tesserak.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "store a large file as ten pieces in ten folders and join them back")
# The long description, one line per line of the control file.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tesserak stores one large file, of 100 GB and more, as ten raw pieces\n"
    "kept in ten different places, such as ten memory cards or drives,\n"
    "writing one piece per button press, and later puts the pieces back\n"
    "together into the original file, byte for byte.\n"
    "\n"
    "Its window and messages are in Japanese.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# The program is built with debug information; the package carries none.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialog's font; the window still opens without it, in another face.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")

include(CPack)
