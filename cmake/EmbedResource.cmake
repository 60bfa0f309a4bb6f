# didod_embed_resources(TARGET name ENTRIES "name1=file1" "name2=file2" ...)
# Compresses each file with the project's own deflate helper (zlib level 9) and
# links the bytes into TARGET, where FindEmbeddedResource(name) finds them.
function(didod_embed_resources target)
  cmake_parse_arguments(ARG "" "" "ENTRIES" ${ARGN})
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_data.cpp)
  set(args)
  set(deps)
  foreach(entry IN LISTS ARG_ENTRIES)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 1 file)
    list(APPEND args "${entry}")
    list(APPEND deps "${file}")
  endforeach()
  add_custom_command(OUTPUT ${generated}
    COMMAND didod_embed_resource ${generated} ${args}
    DEPENDS didod_embed_resource ${deps}
    COMMENT "Compressing and embedding resources for ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${generated})
endfunction()
