# Source lists. The portable core builds everywhere; files ending in _win.cpp
# are the Windows side and only build for Windows.
set(QH_CORE_SOURCES
  app/main_window_place.cpp
  app/program.cpp
  app/restart.cpp
  app/single_instance.cpp
  app/startup.cpp
  app/window_handlers.cpp
  disk/disk_check.cpp
  disk/smart_decode.cpp
  disk/storage_reading.cpp
  disk/storage_requests.cpp
  net/reachability.cpp
  net/version_lookup.cpp
  net/web_links.cpp
  shell/gbk_cut.cpp
  shell/icon_keeper.cpp
  shell/tray_handlers.cpp
  task/clock.cpp
  task/clock_handlers.cpp
  task/firing.cpp
  task/notice_slide.cpp
  task/power_notice.cpp
  task/scheduling.cpp
  task/time_text.cpp
  ui/animation.cpp
  ui/desktop.cpp
  ui/accessibility.cpp
  ui/input.cpp
  ui/keyboard.cpp
  ui/names.cpp
  ui/render.cpp
  ui/web_view_rule.cpp
  ui/window.cpp
  ui/main_window/main_window_form.cpp
  ui/secondary_windows/exit_confirm_form.cpp
  ui/secondary_windows/task_done_form.cpp
  ui/secondary_windows/version_form.cpp
)

set(QH_NATIVE_TEST_SOURCES
  tests/native/fakes.cpp
  tests/native/animation_test.cpp
  tests/native/window_state_test.cpp
  tests/native/window_test.cpp
  tests/native/input_test.cpp
  tests/native/keyboard_test.cpp
  tests/native/accessibility_test.cpp
  tests/native/render_test.cpp
  tests/native/forms_test.cpp
  tests/native/desktop_test.cpp
  tests/native/startup_test.cpp
  tests/native/tray_test.cpp
  tests/native/reachability_test.cpp
  tests/native/task_test.cpp
  tests/native/firing_test.cpp
  tests/native/disk_check_test.cpp
  tests/native/version_lookup_test.cpp
  tests/native/smart_decode_test.cpp
  tests/native/enumerator_table_test.cpp
  tests/native/web_view_rule_test.cpp
)

# The Windows side: platform adapters and the Win32 backend.
set(QH_WIN_SOURCES
  app/dll_search_win.cpp
  app/processes_win.cpp
  app/run_win.cpp
  net/network_win.cpp
  net/web_pages_win.cpp
  disk/smart_report_win.cpp
  disk/storage_drives_win.cpp
  disk/automation/automation_win.cpp
  disk/automation/next_member_win.cpp
  shell/tray_win.cpp
  task/clock_win.cpp
  task/power_win.cpp
  ui/accessible_win.cpp
  ui/backend_win.cpp
  ui/dpi_win.cpp
  ui/image_store_win.cpp
  ui/native_parts_win.cpp
  ui/painter_win.cpp
  ui/system_ui_win.cpp
  ui/text_win.cpp
  ui/theme_parts_win.cpp
  ui/web_view_events_win.cpp
  ui/web_view_site_win.cpp
  ui/web_view_win.cpp
  ui/window_paint_win.cpp
)

set(QH_WIN_TEST_SOURCES
  tests/win/accessibility_test.cpp
  tests/win/backend_test.cpp
  tests/win/image_store_test.cpp
  tests/win/native_parts_test.cpp
  tests/win/painter_test.cpp
  tests/win/power_test.cpp
  tests/win/scoped_test.cpp
  tests/win/web_view_test.cpp
  tests/win/automation_test.cpp
  tests/win/smart_report_test.cpp
)

# The test provider of the WMI scripting objects, linked into the
# Windows-side tests and built as qh_wmi_provider.dll.
set(QH_WMI_PROVIDER_SOURCES
  tests/provider/class_factory_win.cpp
  tests/provider/com_object_win.cpp
  tests/provider/objects_win.cpp
  tests/provider/scenarios_win.cpp
)

# The libFuzzer targets (tests/fuzz/targets.cpp), each with its seed corpus
# in tests/fuzz/corpus/<name>; scripts/fuzz reads this list.
set(QH_FUZZ_TARGETS
  smart_table
  nvme_reply
  predict_failure
  temperature_reply
  verdict
  restart_line
  typed_time
  version_page_address
  notice_text
)
