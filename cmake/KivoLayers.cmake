# The layer check runs before anything compiles, and again whenever a source changes.
kivo_glob(layer_checked_sources
  core/*.cpp core/*.h skin/*.cpp skin/*.h shell/*.cpp shell/*.h shell/*/*.cpp shell/*/*.h
  online/*.cpp online/*.h online/*/*.cpp online/*/*.h library/*.cpp library/*.h library/*/*.cpp library/*/*.h
  lyrics/*.cpp lyrics/*.h lyrics/*/*.cpp lyrics/*/*.h playback/*.cpp playback/*.h playback/*/*.cpp playback/*/*.h
  transfer/*.cpp transfer/*.h updater/*.cpp updater/*.h demo/*.cpp demo/*.h)
set(kivo_layers_stamp ${CMAKE_BINARY_DIR}/layers.checked)
add_custom_command(OUTPUT ${kivo_layers_stamp}
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DSTAMP=${kivo_layers_stamp}
          -P ${CMAKE_SOURCE_DIR}/cmake/check-layers.cmake
  DEPENDS ${layer_checked_sources} ${CMAKE_SOURCE_DIR}/cmake/check-layers.cmake
          ${CMAKE_SOURCE_DIR}/cmake/KivoLayerTable.cmake
  COMMENT "Checking that every folder uses only the layers below it"
  VERBATIM)
add_custom_target(layers ALL DEPENDS ${kivo_layers_stamp})
