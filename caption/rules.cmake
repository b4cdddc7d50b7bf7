# The gradient caption's pure rules: no Windows needed, so they are also
# built and tested natively.
add_library(sorv_caption_rules STATIC ${CMAKE_CURRENT_LIST_DIR}/wordcap_rules.cpp)
target_include_directories(sorv_caption_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(sorv_caption_rules PUBLIC sorv_base)
