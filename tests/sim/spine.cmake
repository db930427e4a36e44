veltrane_test(sim_spine_tests
  thermals_test.cpp
  airplane_test.cpp
  tick_test.cpp
  lifecycle_test.cpp
  flight_sanity_test.cpp
  LIBS veltrane_sim)
