# Targets of the player and the updater, one layer each; a target links only what
# lies below it (README.md, "Layers"). Sources are picked up by folder so that a new
# file needs no edit here:
#   core/*.cpp             what every subsystem shares, no widgets -> kivobase (shared library)
#   skin/*.cpp             the skin, its buttons, knobs and menus  -> kivoskin (shared library)
#   <subsystem>/*.cpp      logic without widgets                   -> kivocore (shared library)
#   <subsystem>/ui/*.cpp   windows and widgets                     -> kivoui   (shared library)
#   shell/*.cpp, shell/ui  start-up, the main window, the wiring   -> kivoshell (shared library)
#   playback/mpv/*.cpp     the libmpv engine             -> kivompv  (module, loaded after the window shows)
#   online/web/*.cpp       the WebEngine panes           -> kivoweb  (module, loaded after the window shows)
#   transfer/*.cpp         HTTP transfer of both programs -> kivotransfer (static)
#   transfer/tools/*.cpp   kivofetch, one transfer from the command line
#   shell/app/*.cpp        kivoplay's main
#   updater/*.cpp          the update program (kivoupdater + main.cpp -> update)
# Subsystems from the lowest up.
set(KIVO_SUBSYSTEMS online library lyrics playback downloads community)

function(kivo_glob out)
  set(files)
  foreach(pattern IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${pattern})
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# A header that a glob brings in later must still reach moc: CMake's autogen step
# keeps its old list of files and reports nothing to do. When a target's file list
# changes (the globs re-run configure), its autogen stamp is removed so it runs again.
function(kivo_autogen_follows target)
  string(SHA1 digest "${ARGN}")
  if(NOT "${digest}" STREQUAL "${KIVO_AUTOGEN_DIGEST_${target}}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    set(KIVO_AUTOGEN_DIGEST_${target} "${digest}" CACHE INTERNAL "file list seen by ${target}'s autogen")
  endif()
endfunction()

include(cmake/KivoLayers.cmake)

set(core_patterns)
set(ui_patterns)
foreach(sub IN LISTS KIVO_SUBSYSTEMS)
  list(APPEND core_patterns ${sub}/*.cpp ${sub}/*.h ${sub}/*.qrc)
  list(APPEND ui_patterns ${sub}/ui/*.cpp ${sub}/ui/*.h ${sub}/ui/*.qrc)
endforeach()

# --- transfer: shared by the player and the updater, nothing else of the player
kivo_glob(transfer_sources transfer/*.cpp transfer/*.h)
add_library(kivotransfer STATIC ${transfer_sources})
target_include_directories(kivotransfer PUBLIC ${CMAKE_SOURCE_DIR})
# QCoro6::Coro is headers only: the programs link Qt and nothing more for it.
target_link_libraries(kivotransfer PUBLIC Qt6::Core Qt6::Network QCoro6::Coro)
set_target_properties(kivotransfer PROPERTIES POSITION_INDEPENDENT_CODE ON)
kivo_target_settings(kivotransfer)
kivo_autogen_follows(kivotransfer ${transfer_sources})

kivo_glob(fetch_sources transfer/tools/*.cpp)
if(fetch_sources)
  add_executable(kivofetch ${fetch_sources})
  target_link_libraries(kivofetch PRIVATE kivotransfer)
  kivo_target_settings(kivofetch)
endif()

# --- base: text codecs, records, the tree model, addresses, commands, log categories
kivo_glob(base_sources core/*.cpp core/*.h)
add_library(kivobase SHARED ${base_sources})
target_include_directories(kivobase PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kivobase PUBLIC Qt6::Core)
kivo_target_settings(kivobase)
kivo_autogen_follows(kivobase ${base_sources})
add_dependencies(kivobase layers) # nothing compiles before the layer check has passed

# --- skin: drawing, skinned buttons and knobs, window dragging, side trees, menus
kivo_glob(skin_sources skin/*.cpp skin/*.h skin/*.qrc)
add_library(kivoskin SHARED ${skin_sources})
target_link_libraries(kivoskin PUBLIC kivobase Qt6::Widgets)
kivo_target_settings(kivoskin)
kivo_autogen_follows(kivoskin ${skin_sources})

# --- core: the subsystems' models, parsers, state machines, database, server client
kivo_glob(core_sources ${core_patterns})
add_library(kivocore SHARED ${core_sources})
target_link_libraries(kivocore PUBLIC kivobase Qt6::Gui Qt6::Network Qt6::Sql Qt6::DBus
                               QCoro6::Core QCoro6::Network kivotransfer)
target_compile_definitions(kivocore PUBLIC KIVO_VERSION="1.31")
kivo_target_settings(kivocore)
kivo_autogen_follows(kivocore ${core_sources})

# --- ui: thin windows over the subsystems
kivo_glob(ui_sources ${ui_patterns})
add_library(kivoui SHARED ${ui_sources})
target_link_libraries(kivoui PUBLIC kivocore kivoskin)
kivo_target_settings(kivoui)
kivo_autogen_follows(kivoui ${ui_sources})

# --- shell: start-up, the main window and the mini player, the only place that knows every window
kivo_glob(shell_sources shell/*.cpp shell/*.h shell/ui/*.cpp shell/ui/*.h)
add_library(kivoshell SHARED ${shell_sources})
target_link_libraries(kivoshell PUBLIC kivoui)
kivo_target_settings(kivoshell)
kivo_autogen_follows(kivoshell ${shell_sources})

# --- heavy engines, loaded at run time so they stay off the path to the first window
pkg_check_modules(MPV IMPORTED_TARGET mpv)
kivo_glob(mpv_sources playback/mpv/*.cpp playback/mpv/*.h)
if(MPV_FOUND AND mpv_sources)
  find_package(Qt6 REQUIRED COMPONENTS OpenGL OpenGLWidgets)
  add_library(kivompv MODULE ${mpv_sources})
  target_link_libraries(kivompv PRIVATE kivocore Qt6::Widgets PkgConfig::MPV Qt6::OpenGL Qt6::OpenGLWidgets)
  kivo_target_settings(kivompv)
  kivo_autogen_follows(kivompv ${mpv_sources})
endif()

kivo_glob(web_sources online/web/*.cpp online/web/*.h)
if(web_sources)
  find_package(Qt6 REQUIRED COMPONENTS WebEngineWidgets)
  add_library(kivoweb MODULE ${web_sources})
  target_link_libraries(kivoweb PRIVATE kivoui Qt6::WebEngineWidgets)
  kivo_target_settings(kivoweb)
  kivo_autogen_follows(kivoweb ${web_sources})
endif()

# --- the programs
kivo_glob(app_sources shell/app/*.cpp shell/app/*.h)
add_executable(kivoplay ${app_sources})
target_link_libraries(kivoplay PRIVATE kivoshell)
set_target_properties(kivoplay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KIVO_BIN_DIR})
kivo_target_settings(kivoplay)

# The update program's logic and window build into a library its tests link too.
kivo_glob(updater_sources updater/*.cpp updater/*.h)
list(FILTER updater_sources EXCLUDE REGEX "/updater/main\\.cpp$")
if(updater_sources)
  add_library(kivoupdater STATIC ${updater_sources})
  target_link_libraries(kivoupdater PUBLIC kivotransfer Qt6::Widgets)
  kivo_target_settings(kivoupdater)
  kivo_autogen_follows(kivoupdater ${updater_sources})
  add_executable(update ${CMAKE_SOURCE_DIR}/updater/main.cpp)
  target_link_libraries(update PRIVATE kivoupdater)
  set_target_properties(update PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KIVO_BIN_DIR})
  kivo_target_settings(update)
endif()

# --- the program folder: installation settings and an empty library, never overwritten
configure_file(${CMAKE_SOURCE_DIR}/shell/app/kivoplay.ini.in ${KIVO_BIN_DIR}/kivoplay.ini @ONLY)
kivo_glob(mkdb_sources library/tools/*.cpp)
if(mkdb_sources)
  add_executable(kivo-mkdb ${mkdb_sources})
  target_link_libraries(kivo-mkdb PRIVATE kivocore)
  kivo_target_settings(kivo-mkdb)
  # Runs at every build; the tool leaves an existing file alone.
  add_custom_target(kxdat ALL
    COMMAND kivo-mkdb ${KIVO_BIN_DIR}/data/kx.dat
    DEPENDS kivo-mkdb
    COMMENT "Making an empty library data/kx.dat when it is missing")
endif()
