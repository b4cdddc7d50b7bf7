# The docking tool bars' pure rules (layouts, geometry, hit tests): no
# Windows needed, built and tested on every platform.
add_library(sorv_toolbar_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tb97_dock_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tb97_frame_rules.cpp
)
target_include_directories(sorv_toolbar_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_toolbar_rules PUBLIC sorv_base)
