# The tool bar, its separators and buttons with their glyph images.
add_library(sorv_bar STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TB97Tlbr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TB97Ctls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tb97ctls_button_glyph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tb97ctls_glyph_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tb97ctls_dropdown_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tb97ctls_button_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tb97ctls_glyph_win.cpp
)
target_include_directories(sorv_bar PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_bar PUBLIC sorv_bar_rules sorv_toolbar sorv_toolkit comctl32 gdi32)
