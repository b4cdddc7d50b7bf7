# The help. sorv_help_file: the help file's format and its lookups, pure, also
# built natively for tests (tests/app_native). sorv_help: the help viewer
# window and the program's help requests. The help file itself, sorv.hlp,
# goes beside the executables, where the install folder is looked for.

add_library(sorv_help_file STATIC
  ${CMAKE_CURRENT_LIST_DIR}/help_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_search.cpp
)
target_include_directories(sorv_help_file PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_help_file PUBLIC sorv_base)

add_library(sorv_help STATIC
  ${CMAKE_CURRENT_LIST_DIR}/help_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_viewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_request.cpp
)
target_include_directories(sorv_help PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_help PUBLIC sorv_help_file sorv_shell sorv_toolkit)

configure_file(${PROJECT_SOURCE_DIR}/resources/sorv.hlp ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/sorv.hlp COPYONLY)
