veltrane_test(sim_air_slope_tests air/slope_flow_test.cpp LIBS veltrane_sim)
