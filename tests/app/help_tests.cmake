# The help viewer and the program's help requests on real windows, with the
# help file shipped with the program.
if(TARGET sorv_help)
  sorv_window_test(help_window_test SOURCES help_request_test.cpp help_viewer_test.cpp
    LIBS sorv_help sorv_registry_memory sorv_test_support)
  target_compile_definitions(help_window_test PRIVATE SORV_SHIPPED_HELP="${PROJECT_SOURCE_DIR}/resources/sorv.hlp")
endif()
