# The gradient caption's geometry, bands, text layout and window-text rules:
# no Windows needed, so they are also built and tested natively.
add_library(sorv_caption_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/caption_geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/caption_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/caption_text_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gradient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/legible_colour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_text.cpp
)
target_include_directories(sorv_caption_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_caption_rules PUBLIC sorv_base)
