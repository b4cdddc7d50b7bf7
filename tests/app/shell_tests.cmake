# Tests of the registry operations, settings store, drop target and resources.

# A registry in memory that can refuse writes, for tests of code that must
# cope with a refused registry write.
add_library(sorv_registry_memory STATIC ${CMAKE_CURRENT_LIST_DIR}/registry_memory.cpp)
target_include_directories(sorv_registry_memory PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_registry_memory PUBLIC sorv_shell)

sorv_test(registry_test SOURCES registry_test.cpp LIBS sorv_shell sorv_registry_memory)
sorv_test(settings_test SOURCES settings_test.cpp LIBS sorv_shell sorv_registry_memory)

if(TARGET sorv_toolkit)
  sorv_test(filedrag_test SOURCES filedrag_test.cpp LIBS sorv_shell)
  # Windows under Wine need its headless driver (set up by tests/toolkit).
  set_tests_properties(filedrag_test PROPERTIES FIXTURES_REQUIRED wine_headless)
endif()

sorv_test(resources_test SOURCES resources_test.cpp LIBS sorv_resources version shell32)
