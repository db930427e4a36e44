# The landscape read in one pass against the assembled faces (included by this folder's CMakeLists.txt).
veltrane_test(terrain_faces_tests
  terrain_faces_test.cpp
  LIBS veltrane_loaders veltrane_pictures veltrane_world)
