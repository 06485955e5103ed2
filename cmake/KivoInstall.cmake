# The installed tree and its Debian package. `cmake --install build --prefix P` lays out
#   P/bin/kivoplay, P/bin/update, P/bin/kivoplay.ini
#   P/lib/kivoplay/   the shared libraries and the modules kivompv and kivoweb
#   P/share/kivoplay/kx.dat        the empty library a user's library is seeded from
#   P/share/applications, P/share/metainfo, P/share/icons/hicolor
# Programs find their libraries through RUNPATH $ORIGIN/../lib/kivoplay and the
# libraries each other through $ORIGIN, so the tree runs wherever it is moved.
# The build tree keeps its own absolute RUNPATH: build/bin runs as it is.
set(KIVO_INSTALL_LIB lib/kivoplay)
set(KIVO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(kivo_desktop_dir ${CMAKE_SOURCE_DIR}/shell/app/desktop)

set(kivo_libraries kivobase kivoskin kivocore kivoui kivoshell)
set(kivo_modules)
foreach(module kivompv kivoweb)
  if(TARGET ${module})
    list(APPEND kivo_modules ${module})
  endif()
endforeach()
set_target_properties(${kivo_libraries} ${kivo_modules} PROPERTIES INSTALL_RPATH "$ORIGIN")
set(kivo_programs kivoplay)
if(TARGET update)
  list(APPEND kivo_programs update)
endif()
set_target_properties(${kivo_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/../${KIVO_INSTALL_LIB}")

install(TARGETS ${kivo_programs} RUNTIME DESTINATION bin)
install(TARGETS ${kivo_libraries} ${kivo_modules} LIBRARY DESTINATION ${KIVO_INSTALL_LIB})
install(FILES ${KIVO_BIN_DIR}/kivoplay.ini DESTINATION bin)

# The shipped empty library: made anew whenever the schema or the maker changes.
set(kivo_shipped_library ${CMAKE_BINARY_DIR}/share/kivoplay/kx.dat)
file(GLOB kivo_schema_steps CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/library/schema/*.sql)
add_custom_command(OUTPUT ${kivo_shipped_library}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${kivo_shipped_library}
  COMMAND kivo-mkdb ${kivo_shipped_library}
  DEPENDS kivo-mkdb ${kivo_schema_steps}
  COMMENT "Making the empty library shipped with the installed player")

# The icon theme's pictures, rendered by the window icon's own drawing code.
add_executable(kivo-icons ${CMAKE_SOURCE_DIR}/shell/tools/kivo-icons.cpp ${CMAKE_SOURCE_DIR}/shell/ui/appicon.cpp)
target_include_directories(kivo-icons PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(kivo-icons PRIVATE Qt6::Gui)
kivo_target_settings(kivo-icons)
set(kivo_icon_dir ${CMAKE_BINARY_DIR}/share/icons)
set(kivo_icon_files)
foreach(size IN LISTS KIVO_ICON_SIZES)
  list(APPEND kivo_icon_files ${kivo_icon_dir}/${size}x${size}/apps/kivoplay.png)
endforeach()
add_custom_command(OUTPUT ${kivo_icon_files}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:kivo-icons> ${kivo_icon_dir} ${KIVO_ICON_SIZES}
  DEPENDS kivo-icons
  COMMENT "Rendering the player's icon for the icon theme")
add_custom_target(installfiles ALL DEPENDS ${kivo_shipped_library} ${kivo_icon_files})

install(FILES ${kivo_shipped_library} DESTINATION share/kivoplay)
install(FILES ${kivo_desktop_dir}/kivoplay.desktop DESTINATION share/applications)
install(FILES ${kivo_desktop_dir}/org.kivo.kivoplay.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${kivo_icon_dir}/ DESTINATION share/icons/hicolor)
install(FILES ${kivo_desktop_dir}/kivoplay.svg DESTINATION share/icons/hicolor/scalable/apps)

# The Debian package: its library dependencies come from dpkg-shlibdeps; what the
# player loads at run time without linking it is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivoplay)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Kivo developers <kivo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Music and video player with synchronised lyrics")
set(CPACK_PACKAGE_DESCRIPTION "Kivo plays local and online music and videos, shows their lyrics in time and keeps playlists and a play history in a local library.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6webenginecore6-bin, libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei | fonts-noto-cjk, qt6-translations-l10n, qt6-image-formats-plugins")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip) # quick to make and to unpack; the package is small once stripped
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/KivoCPackProject.cmake)
include(CPack)
