# The layers, from the floor up:
#   base/      libraries everything stands on (collision, trace, clock, memory,
#              settings store, scene graph, pictures, vector math)
#   sim/ loaders/ radio/ record/ app/ ui/   the headless logic
#   platform/  adapters to SDL, OpenGL, OpenAL, libserialport and the joystick
# A file may include its own layer and the ones below it, never above; and no
# file outside platform/ and ui/imgui/ may include a toolkit, so the logic
# builds and tests headless. Run as cmake -DSRC=<src> -P.
set(toolkit "#[ \t]*include[ \t]*[<\"](SDL[^>\"]*|SDL2/[^>\"]*|epoxy/[^>\"]*|GL/[^>\"]*|AL/[^>\"]*|imgui[^>\"]*|libserialport[^>\"]*)[>\"]")
set(logic_parts "sim|loaders|radio|record|app|ui")

# part -> includes it must not make
set(rule_base "#[ \t]*include[ \t]*\"(${logic_parts}|platform)/")
set(rule_logic "#[ \t]*include[ \t]*\"platform/")

set(found "")
function(check_files regex)
  foreach(f ${ARGN})
    file(STRINGS "${f}" lines REGEX "${regex}")
    foreach(l ${lines})
      file(RELATIVE_PATH rel "${SRC}" "${f}")
      string(APPEND found "  ${rel}: ${l}\n")
    endforeach()
  endforeach()
  set(found "${found}" PARENT_SCOPE)
endfunction()
function(check_part part regex)
  file(GLOB_RECURSE files "${SRC}/${part}/*.h" "${SRC}/${part}/*.hpp" "${SRC}/${part}/*.cpp")
  check_files("${regex}" ${files})
  set(found "${found}" PARENT_SCOPE)
endfunction()

check_part(base "${rule_base}")
check_part(base "${toolkit}")
foreach(part sim loaders radio record app)
  check_part(${part} "${rule_logic}")
  check_part(${part} "${toolkit}")
endforeach()
# The Dear ImGui drawing lives in ui/imgui; the files directly in ui/ are the
# dialogs' headless logic.
file(GLOB ui_logic "${SRC}/ui/*.h" "${SRC}/ui/*.cpp")
check_files("${rule_logic}|${toolkit}" ${ui_logic})

# The flight core stands on base/ only.
check_part(sim "#[ \t]*include[ \t]*\"(loaders|radio|record|app|ui)/")

if(found)
  message(FATAL_ERROR "includes across the layers:\n${found}")
endif()
message(STATUS "include rules hold")
