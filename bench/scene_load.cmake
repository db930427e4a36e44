# Landscape loading: the largest terrain grid, with and without textures, and its collision model.
if(TARGET veltrane_world AND EXISTS ${CMAKE_SOURCE_DIR}/src/sim/create_world_col.h)
  veltrane_bench(scene_load_bench ${CMAKE_CURRENT_LIST_DIR}/scene_load_bench.cpp
    LIBS veltrane_loaders veltrane_pictures veltrane_world)
  target_compile_definitions(scene_load_bench PRIVATE VELTRANE_HAVE_WORLD_COL=1)
else()
  veltrane_bench(scene_load_bench ${CMAKE_CURRENT_LIST_DIR}/scene_load_bench.cpp
    LIBS veltrane_loaders veltrane_pictures)
endif()
