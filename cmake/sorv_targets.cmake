# The few kinds of target this project has, each made one way.

# sorv_rules_library(NAME SOURCES...): a component's pure rules (layouts,
# geometry, hit tests, state machines; no windows.h), built in every tree so
# that they are tested natively. Its headers are found from its folder.
function(sorv_rules_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC sorv_base)
endfunction()

# sorv_test(NAME SOURCES ... LIBS ...): one GoogleTest executable, one ctest
# entry (run through Wine in the cross build).
function(sorv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# sorv_window_test(NAME SOURCES ... LIBS ...): a test that opens windows, on a
# desktop of its own; under Wine with its null driver (fixture wine_headless,
# tests/toolkit). Windows tree only.
function(sorv_window_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  sorv_test(${name} SOURCES ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/toolkit/own_desktop.cpp
            LIBS ${T_LIBS} sorv_window_test_support)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_headless)
  endif()
endfunction()

# sorv_pixel_test(NAME SOURCES ... LIBS ...): a window test that reads back
# what is drawn. In the cross build it runs under Wine with the X11 driver on
# a virtual X display that the fixture `pixel_display` starts for the run and
# stops after it (tests/support/pixel_tests.cmake); such tests run one at a
# time, as they share the screen. Their windows are on the normal desktop.
# Windows tree only.
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
set(SORV_PIXEL_DISPLAY ${PROJECT_SOURCE_DIR}/tests/support/pixel_display.sh)
set(SORV_PIXEL_STATE ${PROJECT_BINARY_DIR}/pixel-display)
