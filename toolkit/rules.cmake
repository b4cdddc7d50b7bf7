# The toolkit's pure rules (the aligned layout, the error box's text, the
# progress scale, fitting a text to a width): no windows.h, built on every
# platform and tested natively.
if(NOT TARGET sorv_toolkit_rules)
  add_library(sorv_toolkit_rules STATIC
    ${CMAKE_CURRENT_LIST_DIR}/align_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_fit.cpp
  )
  target_include_directories(sorv_toolkit_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(sorv_toolkit_rules PUBLIC sorv_base)
endif()
