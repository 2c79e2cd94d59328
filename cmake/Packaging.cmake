# The packages, made by CPack from the install layout (cmake/Install.cmake):
#   Linux:   cpack -G DEB  ->  brannock_VERSION_ARCH.deb
#   Windows: cpack -G ZIP  ->  brannock-VERSION-win64.zip (from the cross build)
# scripts/package-stage.sh builds both and tests them.
set(CPACK_PACKAGE_NAME brannock)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brannock developers")
set(CPACK_PACKAGE_CONTACT "Brannock developers <brannock@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "COM registration browser and type library renderer")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME brannock-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Without Wine the program still reads .reg exports and hives.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # The long description; CPack puts the summary above it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Brannock browses COM registrations (object classes, type libraries,
application IDs and interfaces), shows every registry key and value behind
an object, exports the collections as list files, and renders type
libraries as Object Pascal declaration units.
.
On Linux it reads the registry of a Wine prefix, a .reg export or an
offline registry hive. The package holds the window program brannock, the
command-line program brannock-cli and the Windows helper that creates test
instances under Wine.")
endif()
include(CPack)
