# The help file's format and lookups, on every platform.
if(NOT TARGET sorv_help_file)  # the Windows build has it from app/
  add_library(sorv_help_file STATIC ${PROJECT_SOURCE_DIR}/app/help_file.cpp ${PROJECT_SOURCE_DIR}/app/help_search.cpp)
  target_include_directories(sorv_help_file PUBLIC ${PROJECT_SOURCE_DIR}/app)
  target_link_libraries(sorv_help_file PUBLIC sorv_base)
endif()

sorv_test(help_file_test SOURCES help_file_test.cpp help_search_test.cpp LIBS sorv_help_file sorv_test_support)
# The help file shipped with the program, read where it is kept.
target_compile_definitions(help_file_test PRIVATE SORV_SHIPPED_HELP="${PROJECT_SOURCE_DIR}/resources/sorv.hlp")
