# The options dialog driven in-process under Wine, over the real registry and
# over a memory registry that refuses writes.
if(TARGET sorv_options)
  sorv_window_test(options_dialog_test
    SOURCES options_dialog_test.cpp
    LIBS sorv_options sorv_registry_memory sorv_test_support)
endif()
