# The pure rules of the tool bar and its buttons (layouts, floating sizes,
# button states, content layout, glyph strips and disabled images): no
# windows.h, built on every platform and tested natively.
if(NOT TARGET sorv_bar_rules)
  add_library(sorv_bar_rules STATIC
    ${CMAKE_CURRENT_LIST_DIR}/toolbar_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/floating_resize.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button_behaviour.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button_face.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button_content_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/glyph_strip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/glyph_pixels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/glyph_slots.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accelerator.cpp
  )
  target_include_directories(sorv_bar_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(sorv_bar_rules PUBLIC sorv_base)
endif()
