veltrane_test(sim_air_flight_tests
  air/still_air_reference_test.cpp
  LIBS veltrane_sim veltrane_loaders)
