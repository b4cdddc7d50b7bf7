# The docking tool bars' pure rules (layouts, geometry, hit tests): no
# Windows needed, built and tested on every platform.
add_library(sorv_toolbar_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dock_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drag_geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame_geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/monitor_choice.cpp
)
target_include_directories(sorv_toolbar_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_toolbar_rules PUBLIC sorv_base)
