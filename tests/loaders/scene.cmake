# Scene loader tests (included by this folder's CMakeLists.txt).
veltrane_test(scene_tests
  scene_file_test.cpp
  scene_terrain_test.cpp
  LIBS veltrane_loaders veltrane_pictures)
