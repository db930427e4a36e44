# Model geometry: vertex merging, mesh assembly and a whole .geo load.
veltrane_bench(model_load_bench ${CMAKE_CURRENT_LIST_DIR}/model_load_bench.cpp LIBS veltrane_loaders)
