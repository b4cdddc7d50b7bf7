# sorv_pixel_test(NAME SOURCES ... LIBS ...): a window test that reads back
# what is drawn. In the cross build it runs under Wine with the X11 driver on
# a virtual X display that the fixture `pixel_display` starts for the run and
# stops after it (tests/support/pixel_display.sh); such tests run one at a
# time, as they share the screen. Their windows are on the normal desktop.
set(SORV_PIXEL_DISPLAY ${CMAKE_CURRENT_LIST_DIR}/pixel_display.sh)
set(SORV_PIXEL_STATE ${CMAKE_BINARY_DIR}/pixel-display)

function(sorv_pixel_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} sorv_window_test_support GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND sh ${SORV_PIXEL_DISPLAY} run ${SORV_PIXEL_STATE} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED pixel_display RESOURCE_LOCK pixel_display)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
endfunction()

if(CMAKE_CROSSCOMPILING)
  add_test(NAME pixel_display_start COMMAND sh ${SORV_PIXEL_DISPLAY} start ${SORV_PIXEL_STATE})
  add_test(NAME pixel_display_stop COMMAND sh ${SORV_PIXEL_DISPLAY} stop ${SORV_PIXEL_STATE})
  set_tests_properties(pixel_display_start PROPERTIES FIXTURES_SETUP pixel_display)
  set_tests_properties(pixel_display_stop PROPERTIES FIXTURES_CLEANUP pixel_display)
endif()
