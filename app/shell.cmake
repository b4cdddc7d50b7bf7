# Registry operations, settings store and drop target (sorv_shell), and the
# program's resources (sorv_resources, linked into sorv.exe).

# The start-up decisions without windows or registry; also built natively
# for tests (tests/app_native).
add_library(sorv_settings_rules STATIC ${CMAKE_CURRENT_LIST_DIR}/settings_rules.cpp)
target_include_directories(sorv_settings_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})

add_library(sorv_shell STATIC
  ${CMAKE_CURRENT_LIST_DIR}/registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
)
target_include_directories(sorv_shell PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_shell PUBLIC sorv_settings_rules sorv_engine advapi32)
# The drop target hooks its owner through the toolkit's hook chain.
if(TARGET sorv_toolkit)
  target_sources(sorv_shell PRIVATE ${CMAKE_CURRENT_LIST_DIR}/filedrag.cpp)
  target_link_libraries(sorv_shell PUBLIC sorv_toolkit shell32)
endif()

# The program's resources: main icon, hand cursor "HAND", version information
# and manifest. Link sorv_resources into the executable.
enable_language(RC)
set(SORV_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)
add_library(sorv_resources OBJECT ${SORV_RESOURCE_DIR}/sorv.rc)
target_include_directories(sorv_resources PUBLIC ${SORV_RESOURCE_DIR})
set_source_files_properties(${SORV_RESOURCE_DIR}/sorv.rc PROPERTIES OBJECT_DEPENDS
  "${SORV_RESOURCE_DIR}/sorv.ico;${SORV_RESOURCE_DIR}/hand.cur;${SORV_RESOURCE_DIR}/sorv.manifest;${SORV_RESOURCE_DIR}/resource_ids.h")
