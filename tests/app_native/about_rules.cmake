# The floppy formatter's request and the link label's target: no Windows
# needed, built and tested on every platform.
if(NOT TARGET sorv_about_rules)  # the Windows build has it from app/
  add_library(sorv_about_rules STATIC
    ${PROJECT_SOURCE_DIR}/app/format_mapping.cpp
    ${PROJECT_SOURCE_DIR}/app/url_target.cpp
  )
  target_include_directories(sorv_about_rules PUBLIC ${PROJECT_SOURCE_DIR}/app)
endif()

sorv_test(about_rules_test SOURCES about_format_test.cpp about_link_test.cpp LIBS sorv_about_rules)
