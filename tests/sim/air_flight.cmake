veltrane_test(sim_air_flight_tests
  air/still_air_reference_test.cpp
  air/wind_flight_test.cpp
  air/energy_bound_test.cpp
  air/air_model_test.cpp
  LIBS veltrane_sim veltrane_loaders veltrane_world)
