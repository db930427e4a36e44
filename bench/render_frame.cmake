# One rendered frame through the GL renderer, and the program's start to its first frame.
if(TARGET veltrane_gl AND TARGET veltrane_window)
  veltrane_bench(render_frame_bench render_frame_bench.cpp
    LIBS veltrane_gl veltrane_window veltrane_rm)
  if(TARGET veltrane)
    # The program exists only once the main window's logic is complete.
    target_link_libraries(render_frame_bench PRIVATE veltrane_app veltrane_settings)
    target_compile_definitions(render_frame_bench PRIVATE VELTRANE_WITH_APP
                               VELTRANE_PROGRAM="$<TARGET_FILE:veltrane>")
    add_dependencies(render_frame_bench veltrane)
  endif()
endif()
