# Compiles every PNG of a folder into the program: at build time each file
# becomes a byte array in one generated source, so nothing is read from disk
# when the program runs.
function(torvane_embed_pngs out_var folder)
  file(GLOB pngs CONFIGURE_DEPENDS ${folder}/*.png)
  list(SORT pngs)
  set(generated ${CMAKE_BINARY_DIR}/generated/embedded_resources.cpp)
  add_custom_command(
    OUTPUT ${generated}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${generated} "-DINPUTS=${pngs}"
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResourcesScript.cmake
    DEPENDS ${pngs} ${CMAKE_SOURCE_DIR}/cmake/EmbedResourcesScript.cmake
    COMMENT "Embedding PNG resources"
    VERBATIM)
  set(${out_var} ${generated} PARENT_SCOPE)
endfunction()
