# The pure rules of the tool bar and its buttons (layouts, floating sizes,
# button states, content layout, glyph strips and disabled images): no
# windows.h, built on every platform and tested natively.
if(NOT TARGET sorv_bar_rules)
  add_library(sorv_bar_rules STATIC
    ${CMAKE_CURRENT_LIST_DIR}/tb97tlbr_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tb97ctls_button_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tb97ctls_glyph_rules.cpp
  )
  target_include_directories(sorv_bar_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(sorv_bar_rules PUBLIC sorv_base)
endif()
