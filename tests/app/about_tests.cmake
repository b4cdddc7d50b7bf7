# The About box, its link labels and the floppy formatter, on real windows.
# The program's resources give the icon and the "HAND" cursor.
if(TARGET sorv_about)
  sorv_window_test(about_window_test
    SOURCES about_box_test.cpp about_url_label_test.cpp
    LIBS sorv_about sorv_resources)
  sorv_window_test(about_formatter_test SOURCES about_formatter_test.cpp LIBS sorv_about)
endif()
