# The tool bar, its separators and buttons with their glyph images.
add_library(sorv_bar STATIC
  ${CMAKE_CURRENT_LIST_DIR}/pixel_bitmaps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyph_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button_glyph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button_timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control_tips.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dropdown_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toolbar_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TB97Tlbr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toolbar_sep.cpp
)
target_include_directories(sorv_bar PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_bar PUBLIC sorv_bar_rules sorv_toolbar sorv_toolkit comctl32 gdi32)
