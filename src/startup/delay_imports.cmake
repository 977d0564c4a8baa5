# Libraries the program needs that the system does not pin to its own folder
# (they are not among the KnownDLLs) are delay-loaded: imported normally, the
# loader would resolve them before WinMain and take a copy lying beside the
# program (a Downloads folder, the temporary folder of the uninstaller's copy).
# Delay-loaded, they are loaded at their first call, after
# RestrictLibrarySearch() has limited the search to the system folder.
# Only version.dll is such a library; tests/security checks the import table.
find_program(ORV_DLLTOOL NAMES i686-w64-mingw32-dlltool REQUIRED)
set(ORV_VERSION_DELAYLIB ${CMAKE_CURRENT_BINARY_DIR}/libversion_delayed.a)
add_custom_command(OUTPUT ${ORV_VERSION_DELAYLIB}
  COMMAND ${ORV_DLLTOOL} -k --input-def ${CMAKE_CURRENT_LIST_DIR}/version_delay.def
          --output-delaylib ${ORV_VERSION_DELAYLIB}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/version_delay.def
  COMMENT "Delay-load library for version.dll")
add_custom_target(orv_version_delaylib DEPENDS ${ORV_VERSION_DELAYLIB})
add_library(orv_version_delayed INTERFACE)
target_link_libraries(orv_version_delayed INTERFACE ${ORV_VERSION_DELAYLIB})
add_dependencies(orv_version_delayed orv_version_delaylib)
