# The flight core, the readers, the radio logic and the main window's logic
# build and test without a toolkit: none of their files may include SDL,
# OpenGL, OpenAL, Dear ImGui or libserialport. Run as cmake -DSRC=<src> -P.
set(pattern "#[ \t]*include[ \t]*[<\"](SDL[^>\"]*|SDL2/[^>\"]*|epoxy/[^>\"]*|GL/[^>\"]*|AL/[^>\"]*|imgui[^>\"]*|libserialport[^>\"]*)[>\"]")
set(found "")
foreach(part sim loaders radio app)
  file(GLOB_RECURSE files "${SRC}/${part}/*.h" "${SRC}/${part}/*.hpp" "${SRC}/${part}/*.cpp")
  foreach(f ${files})
    file(STRINGS "${f}" lines REGEX "${pattern}")
    foreach(l ${lines})
      file(RELATIVE_PATH rel "${SRC}" "${f}")
      string(APPEND found "  ${rel}: ${l}\n")
    endforeach()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "toolkit includes where the logic must stay headless:\n${found}")
endif()
message(STATUS "include rules hold")
