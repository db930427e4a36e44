# The windowed program. Built once the main window's logic is in veltrane_app.
get_target_property(_veltrane_app_sources veltrane_app SOURCES)
list(FILTER _veltrane_app_sources INCLUDE REGEX "main_form\\.cpp$")
if(NOT _veltrane_app_sources OR NOT TARGET veltrane_sound OR NOT TARGET veltrane_pictures)
  message(STATUS "veltrane: main window logic not there yet, program not built")
  return()
endif()

# main.cpp only hands over; the program itself is in platform/window.
set(_veltrane_program_dir ${CMAKE_CURRENT_SOURCE_DIR}/platform/window)
add_executable(veltrane main.cpp
  ${_veltrane_program_dir}/program.cpp
  ${_veltrane_program_dir}/window_open.cpp
  ${_veltrane_program_dir}/frame_loop.cpp
  ${_veltrane_program_dir}/program_events.cpp
  ${_veltrane_program_dir}/picture_output.cpp
)
target_link_libraries(veltrane PRIVATE veltrane_app veltrane_window veltrane_gl veltrane_sound
                                       veltrane_pictures veltrane_settings veltrane_trace
                                       veltrane_program_radio)
target_compile_definitions(veltrane PRIVATE VELTRANE_VERSION="${PROJECT_VERSION}")
# The menu bar and dialogs, once they are built.
if(TARGET veltrane_ui_imgui AND TARGET veltrane_ui_textures)
  target_link_libraries(veltrane PRIVATE veltrane_ui_imgui veltrane_ui_textures)
  target_compile_definitions(veltrane PRIVATE VELTRANE_WITH_MENU)
endif()
set_target_properties(veltrane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The program finds its data beside itself: link every entry of data/ into bin/
# on each build, so content added later shows up without a new configure.
set(_veltrane_link_script ${CMAKE_BINARY_DIR}/link_data.cmake)
file(WRITE ${_veltrane_link_script} [=[
file(GLOB entries RELATIVE "${SRC}" "${SRC}/*")
foreach(e ${entries})
  if(NOT EXISTS "${DST}/${e}" AND NOT IS_SYMLINK "${DST}/${e}")
    file(CREATE_LINK "${SRC}/${e}" "${DST}/${e}" SYMBOLIC)
  endif()
endforeach()
]=])
add_custom_target(veltrane_data_links ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
  COMMAND ${CMAKE_COMMAND} -DSRC=${VELTRANE_DATA_DIR} -DDST=${CMAKE_BINARY_DIR}/bin -P ${_veltrane_link_script}
  COMMENT "Linking the data folder beside the program")
add_dependencies(veltrane veltrane_data_links)

include(GNUInstallDirs)
install(TARGETS veltrane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${VELTRANE_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrane)
