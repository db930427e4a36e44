veltrane_test(sim_air_turbulence_tests air/turbulence_test.cpp air/gusts_test.cpp LIBS veltrane_sim)
