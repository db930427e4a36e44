if(TARGET veltrane_joystick AND TARGET veltrane_serial)
  veltrane_bench(radio_read_bench radio_read_bench.cpp LIBS veltrane_joystick veltrane_serial)
endif()
