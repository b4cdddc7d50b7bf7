# The About box with its link labels, and the floppy formatter.

# The rules without windows (format request, link target); also built
# natively for tests (tests/app_native).
add_library(sorv_about_rules STATIC
  ${CMAKE_CURRENT_LIST_DIR}/format_mapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/url_target.cpp
)
target_include_directories(sorv_about_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})

# Link sorv_resources into the executable that uses it: the icon and the
# "HAND" cursor are loaded from the program's own module.
add_library(sorv_about STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Unit2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UrlLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bevel_panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/icon_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_cursors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_text.cpp
)
target_include_directories(sorv_about PUBLIC ${CMAKE_CURRENT_LIST_DIR} PRIVATE ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(sorv_about PUBLIC sorv_about_rules sorv_caption sorv_toolkit shell32)
