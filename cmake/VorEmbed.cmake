# vor_embed(TARGET SET_NAME SCRIPT FILES...)
# Embeds a resource script and the files it names into TARGET. The generated source registers
# them as the resource set SET_NAME when the library is loaded, so every binary carries its own
# dialogs, menus and pictures.
function(vor_embed target set_name script)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  set(inputs ${script} ${ARGN})
  string(REPLACE ";" "|" files "${ARGN}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DSET_NAME=${set_name} -DSCRIPT=${script}
            "-DFILES=${files}" -P ${VOR_SOURCE_ROOT}/cmake/VorEmbedGen.cmake
    DEPENDS ${inputs} ${VOR_SOURCE_ROOT}/cmake/VorEmbedGen.cmake
    COMMENT "Embedding resources of ${set_name}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
