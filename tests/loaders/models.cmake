# Model geometry: mesh assembly and the .mdl, .geo and .x readers.
veltrane_test(model_loaders_tests
  mesh_build_test.cpp
  mdl_file_test.cpp
  geo_file_test.cpp
  x_file_test.cpp
  model_loader_test.cpp
  LIBS veltrane_loaders)
