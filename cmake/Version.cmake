# The version is set once, in project() of the top-level CMakeLists.txt. It is
# shown to users as written there ("2.1"); the version resource, the manifest's
# assembly identity and the MSI need every numeric field, 0 where project()
# leaves one out. Everything that names the version (resources, manifest,
# captions, About text, scripts/release) takes it from the files generated
# here, so a new version is a one-line change.
foreach(field MAJOR MINOR PATCH)
  set(QH_VERSION_${field} "${PROJECT_VERSION_${field}}")
  if(QH_VERSION_${field} STREQUAL "")
    set(QH_VERSION_${field} 0)
  endif()
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/assets/version.h.in
               ${CMAKE_BINARY_DIR}/generated/assets/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/assets/app.manifest.in
               ${CMAKE_BINARY_DIR}/generated/assets/app.manifest @ONLY)
