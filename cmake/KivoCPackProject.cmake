# Read by cpack while it packs: dpkg-shlibdeps looks for the player's own
# libraries in the staged tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CPACK_TEMPORARY_DIRECTORY}/usr/lib/kivoplay")
