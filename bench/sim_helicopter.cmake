veltrane_bench(sim_helicopter_bench ${CMAKE_CURRENT_LIST_DIR}/sim_helicopter_bench.cpp LIBS veltrane_sim veltrane_loaders)
target_compile_definitions(sim_helicopter_bench PRIVATE VELTRANE_HELI_PAR="${CMAKE_SOURCE_DIR}/tests/sim/data/heli.par")
