# Which folders each folder's sources may include headers from (besides its own).
# A folder lies above everything it may use; nothing below may use it. The build
# checks every source against this table (cmake/check-layers.cmake).
#
#   core                      ground: shared records, codecs, commands, no widgets
#   skin                      above core: drawing, skinned controls, menus
#   online < library          the subsystems' logic; library opens its pages in the
#   online < lyrics < playback  result area, playback runs the lyrics steps
#   downloads                 above them all: queues songs of every page, looks them
#                             up like playback, fetches their lyrics, counts in the library
#   community                 dedication and settings, over the other subsystems
#   <subsystem>/ui            above its subsystem and the skin
#   shell                     on top: the only place that knows every window
set(KIVO_LAYER_core "")
set(KIVO_LAYER_skin core)
set(KIVO_LAYER_online core)
set(KIVO_LAYER_library core online)
set(KIVO_LAYER_lyrics core online)
set(KIVO_LAYER_playback core online lyrics)
set(KIVO_LAYER_downloads core online library lyrics playback transfer)
set(KIVO_LAYER_community core online library lyrics playback)

set(KIVO_LAYER_online/ui core skin online)
set(KIVO_LAYER_online/web core skin online online/ui)
set(KIVO_LAYER_library/ui core skin online library)
set(KIVO_LAYER_library/tools core online library)
set(KIVO_LAYER_lyrics/ui core skin online lyrics)
set(KIVO_LAYER_playback/ui core skin online lyrics playback)
set(KIVO_LAYER_playback/mpv core online lyrics playback)
set(KIVO_LAYER_downloads/ui core skin online library lyrics playback transfer downloads)
set(KIVO_LAYER_community/ui core skin online library lyrics playback community)

set(kivo_everything core skin online library lyrics playback online/ui online/web library/ui lyrics/ui playback/ui
    playback/mpv transfer downloads downloads/ui community community/ui shell shell/ui)
set(KIVO_LAYER_shell ${kivo_everything})
set(KIVO_LAYER_shell/ui ${kivo_everything})
set(KIVO_LAYER_shell/app ${kivo_everything})
set(KIVO_LAYER_shell/tools ${kivo_everything})

# The transfer code is shared with the updater and uses nothing of the player.
set(KIVO_LAYER_transfer "")
set(KIVO_LAYER_transfer/tools transfer)
set(KIVO_LAYER_updater transfer)
set(KIVO_LAYER_demo core transfer)
set(KIVO_LAYER_demo/standin "")

# Folders whose sources are not checked: tests, benchmarks and the build's own files.
set(KIVO_LAYER_UNCHECKED tests bench cmake scripts)
