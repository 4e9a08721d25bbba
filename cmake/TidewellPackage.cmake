# `cpack -G DEB` in the build folder makes tidewell_<version>_amd64.deb from
# the install rules, installed under /usr. Its Depends are computed from the
# two programs by dpkg-shlibdeps (SDL2, FLTK and what they pull in).
set(CPACK_PACKAGE_NAME tidewell)
set(CPACK_PACKAGE_VENDOR "Tidewell")
set(CPACK_PACKAGE_CONTACT "Tidewell developers <tidewell@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generative sound toy with a rippling full-screen picture")
set(CPACK_PACKAGE_DESCRIPTION
    "Tidewell plays short WAV samples on up to eight sequencer tracks, each with its own\n"
    "rhythm, volume, pan and pitch, moved by one of three behaviours. Every track draws\n"
    "into a full-screen water-ripple picture. A setup dialog picks the parameters and runs\n"
    "a sample folder, one of four demos, or sound recorded live from the microphone.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
