# The program's windows as a library that the tests drive in-process, and
# sorv.exe around them. Executables that show the About box link
# sorv_resources too (icon, hand cursor).
add_library(sorv_program STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Unit1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_toolbar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_windows.cpp
)
target_include_directories(sorv_program PUBLIC ${CMAKE_CURRENT_LIST_DIR} PRIVATE ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(sorv_program PUBLIC sorv_caption sorv_about sorv_options sorv_help sorv_shell sorv_slice_dialog
                      sorv_bar sorv_toolkit sorv_engine)

add_executable(sorv WIN32 ${CMAKE_CURRENT_LIST_DIR}/sorv.cpp)
# The release build ships stripped (a third of the size).
target_link_options(sorv PRIVATE -municode $<$<CONFIG:Release,MinSizeRel>:-s>)
target_link_libraries(sorv PRIVATE sorv_program sorv_resources shell32)
