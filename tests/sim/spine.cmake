veltrane_test(sim_spine_tests
  thermals_test.cpp
  airplane_test.cpp
  tick_test.cpp
  lifecycle_test.cpp
  flight_sanity_test.cpp
  LIBS veltrane_sim)

# Against the real collision world; its own program so the core suite does not
# depend on the landscape libraries.
if(TARGET veltrane_world)
  veltrane_test(sim_spine_world_tests airplane_world_test.cpp LIBS veltrane_world)
endif()
