# The key list and the first-flight hint, built from the live key tables.
veltrane_test(ui_key_help_tests key_help_test.cpp LIBS veltrane_ui)
