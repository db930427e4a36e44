veltrane_bench(sim_airplane_bench sim_airplane_bench.cpp LIBS veltrane_sim)
# The bench flies the tuned aerobatic model the flight tests use.
target_include_directories(sim_airplane_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
