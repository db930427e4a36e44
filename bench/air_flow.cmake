veltrane_bench(air_flow_bench air_flow_bench.cpp LIBS veltrane_sim)
