# The program's real windows driven in-process under Wine: geometry, menus,
# the slice-size dialog, whole splits and joins, the Escape prompt, quitting.
if(TARGET sorv_program)
  add_library(sorv_user_driver STATIC ${CMAKE_CURRENT_LIST_DIR}/user_driver.cpp)
  target_include_directories(sorv_user_driver PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(sorv_user_driver PUBLIC sorv_window_test_support)

  sorv_window_test(program_windows_test
    SOURCES program_windows_test.cpp program_commands_test.cpp program_keys_test.cpp
    LIBS sorv_program sorv_resources sorv_user_driver sorv_test_support)
  sorv_window_test(program_quit_test SOURCES program_quit_test.cpp LIBS sorv_program sorv_resources sorv_user_driver)
  # The tool bar: alone, as it writes the "Position" setting the others read.
  sorv_window_test(program_toolbar_test SOURCES program_toolbar_test.cpp
    LIBS sorv_program sorv_resources sorv_user_driver)
  set_tests_properties(program_toolbar_test PROPERTIES RUN_SERIAL TRUE)
  # Each of the program's windows paints its gradient title bar.
  sorv_pixel_test(program_captions_test SOURCES program_captions_test.cpp LIBS sorv_program sorv_resources)
endif()
