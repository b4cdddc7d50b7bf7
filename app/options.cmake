# The options dialog (TForm4) and the shell registrations it writes.
add_library(sorv_options STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Unit4.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_registration.cpp
)
target_include_directories(sorv_options PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_options PUBLIC sorv_caption sorv_shell sorv_toolkit sorv_engine)
