# The virtual X display that the tests declared with sorv_pixel_test
# (cmake/sorv_targets.cmake) run on in the cross build: started before the
# first of them and stopped after the last (tests/support/pixel_display.sh).
if(CMAKE_CROSSCOMPILING)
  add_test(NAME pixel_display_start COMMAND sh ${SORV_PIXEL_DISPLAY} start ${SORV_PIXEL_STATE})
  add_test(NAME pixel_display_stop COMMAND sh ${SORV_PIXEL_DISPLAY} stop ${SORV_PIXEL_STATE})
  set_tests_properties(pixel_display_start PROPERTIES FIXTURES_SETUP pixel_display)
  set_tests_properties(pixel_display_stop PROPERTIES FIXTURES_CLEANUP pixel_display)
endif()
