# `cmake --install <build> --prefix P` lays out:
#   P/bin/tidewell, P/bin/tidewell-launcher
#   P/share/tidewell/  the sample data every user's working directory is
#                      filled from (data/text, demo1..demo4, C.wav, autoaudio/)
#   P/share/applications/tidewell.desktop, P/share/icons/hicolor/NxN/apps/
#   P/share/man/man1/ (one page per program)
include(GNUInstallDirs)

install(TARGETS tidewell launcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(share_dir ${CMAKE_INSTALL_DATADIR}/tidewell)
install(FILES ${TIDEWELL_RUN_DIR}/data/text DESTINATION ${share_dir}/data)
install(DIRECTORY ${TIDEWELL_RUN_DIR}/demo1 ${TIDEWELL_RUN_DIR}/demo2 ${TIDEWELL_RUN_DIR}/demo3
                  ${TIDEWELL_RUN_DIR}/demo4
        DESTINATION ${share_dir})
install(FILES ${TIDEWELL_RUN_DIR}/C.wav DESTINATION ${share_dir})
install(DIRECTORY DESTINATION ${share_dir}/autoaudio)

install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/tidewell.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size IN LISTS TIDEWELL_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/tidewell.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/tidewell.1
              ${CMAKE_SOURCE_DIR}/resources/desktop/tidewell-launcher.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
