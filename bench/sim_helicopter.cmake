veltrane_bench(sim_helicopter_bench ${CMAKE_CURRENT_LIST_DIR}/sim_helicopter_bench.cpp LIBS veltrane_sim)
