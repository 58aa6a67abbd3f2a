# The shipped executable and the Windows-side tests. Everything links
# statically so QuondaHalvix.exe runs with no DLLs beside it.
enable_language(RC)

# Linked normally: known DLLs only, which Windows always takes from the system
# directory. Every other system DLL is delay-loaded (cmake/DelayLoad.cmake), so
# it is loaded after the entry routine has restricted the search path.
# scripts/check-pe fails the build's tests when that rule is broken.
set(QH_WIN_LIBS ole32 oleaut32 uuid shlwapi shell32 gdi32 user32)
set(QH_DELAY_LOADED_DLLS powrprof wininet gdiplus msimg32 comctl32 oleacc uxtheme)
include(${CMAKE_CURRENT_LIST_DIR}/DelayLoad.cmake)
if(NOT MSVC)
  set(QH_STATIC_LINK -static -static-libgcc -static-libstdc++)
  # Terminal-server aware, as MSVC's linker marks an exe and GNU ld does not:
  # on a Remote Desktop server Windows then runs the program without
  # the changes it makes for older ones (a Windows folder of each user's own
  # for INI files, HKCU values written by setup copied to each user). The
  # program has no INI file and reads nothing its installer writes to HKCU.
  add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-Wl,--tsaware>)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # No structured exception handler in a 32-bit image: MinGW's i686 C++
    # exceptions unwind through DWARF tables, and nothing registers a frame
    # handler. GNU ld writes no SafeSEH table, so without the flag Windows
    # would accept any address in the image as a handler.
    add_link_options(-Wl,--no-seh)
  endif()
else()
  # assets/resources.rc embeds the manifest for every toolchain. The MSVC
  # linker would add one of its own under the same resource type and id, and
  # the duplicate fails the link: it makes none.
  add_link_options(/MANIFEST:NO)
endif()

# Keep Windows headers lean and the API wide: the program converts its UTF-8
# text explicitly and never relies on the ANSI code page.
set(QH_WIN_DEFINES NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601)

add_library(qh_win STATIC ${QH_WIN_SOURCES})
target_link_libraries(qh_win PUBLIC qh_core ${QH_WIN_LIBS})
qh_delay_load(qh_win ${QH_DELAY_LOADED_DLLS})
target_compile_definitions(qh_win PUBLIC ${QH_WIN_DEFINES})

set(QH_RESOURCES ${CMAKE_SOURCE_DIR}/assets/resources.rc)
# The resource compiler reports no dependencies: a picture drawn again must
# still rebuild the resources.
file(GLOB QH_ARTWORK CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/assets/*.png ${CMAKE_SOURCE_DIR}/assets/*.jpg
  ${CMAKE_SOURCE_DIR}/assets/*.gif ${CMAKE_SOURCE_DIR}/assets/*.ico)
set_source_files_properties(${QH_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/assets/app.manifest;${CMAKE_SOURCE_DIR}/assets/images.rc;${QH_ARTWORK}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/assets")

add_executable(QuondaHalvix WIN32 app/main_win.cpp ${QH_RESOURCES})
target_link_libraries(QuondaHalvix PRIVATE qh_win ${QH_STATIC_LINK})
if(NOT MSVC)
  target_link_options(QuondaHalvix PRIVATE -s)
endif()

# The comparison build of bench/task_wakeups.py; built only on request:
#   cmake --build --preset win64 --target qh_bench_keep_slide_timer
add_executable(qh_bench_keep_slide_timer WIN32 EXCLUDE_FROM_ALL bench/keep_slide_timer_win.cpp ${QH_RESOURCES})
target_link_libraries(qh_bench_keep_slide_timer PRIVATE qh_win ${QH_STATIC_LINK})

if(QH_TESTS)
  # Windows-side tests run under Wine through the project's own prefix.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)
  # The WMI test provider: its objects serve the disk report's tests in
  # process; the DLL (build/win64/qh_wmi_provider.dll) is for tests that load
  # it or register it in a Wine prefix.
  add_library(qh_wmi_provider_objects OBJECT ${QH_WMI_PROVIDER_SOURCES})
  target_include_directories(qh_wmi_provider_objects PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_definitions(qh_wmi_provider_objects PUBLIC ${QH_WIN_DEFINES})
  target_link_libraries(qh_wmi_provider_objects PUBLIC ole32 oleaut32 uuid)
  add_library(qh_wmi_provider SHARED
    tests/provider/provider_dll_win.cpp tests/provider/qh_wmi_provider.def)
  set_target_properties(qh_wmi_provider PROPERTIES PREFIX "")
  target_link_libraries(qh_wmi_provider PRIVATE qh_wmi_provider_objects ${QH_STATIC_LINK})

  # Planted beside a copy of the exe under the names of the system DLLs it
  # loads, by the end-to-end tier: each copy that gets loaded leaves a marker.
  add_library(qh_planted_marker SHARED tests/tools/planted_marker_win.cpp)
  set_target_properties(qh_planted_marker PROPERTIES PREFIX "")
  target_link_libraries(qh_planted_marker PRIVATE ${QH_STATIC_LINK})

  # Reads MainWindow's accessible tree and values across processes and
  # performs default actions, as a screen reader does, for the end-to-end tier.
  add_executable(qh_a11y_client tests/tools/a11y_client_win.cpp)
  if(NOT MSVC)
    target_link_options(qh_a11y_client PRIVATE -municode)
  endif()
  target_link_libraries(qh_a11y_client PRIVATE qh_win ${QH_STATIC_LINK})

  add_executable(qh_win_tests ${QH_WIN_TEST_SOURCES} ${QH_RESOURCES})
  target_link_libraries(qh_win_tests PRIVATE qh_win qh_wmi_provider_objects GTest::gtest GTest::gtest_main
                        ${QH_STATIC_LINK})
  add_dependencies(qh_win_tests qh_wmi_provider)
  set_target_properties(qh_win_tests PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)
  add_test(NAME windows COMMAND qh_win_tests --gtest_output=xml:Z:${CMAKE_BINARY_DIR}/results/windows.xml)
endif()
