# The art is drawn at build time by our own generator and pulled into the
# programs with the assembler's .incbin, so megabytes of pixels never pass
# through the C++ compiler.
add_subdirectory(tools)

set(TABORA_RES_DIR ${CMAKE_BINARY_DIR}/resources)
set(TABORA_RES_BLOB ${TABORA_RES_DIR}/tabora.res)
# A second build (the sanitizer build in CI) may reuse the art of the first
# rather than draw it all again.
set(TABORA_PREBUILT_ART "" CACHE FILEPATH "Use this tabora.res instead of running the generator")
if(TABORA_PREBUILT_ART)
  add_custom_command(
    OUTPUT ${TABORA_RES_BLOB}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TABORA_RES_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${TABORA_PREBUILT_ART} ${TABORA_RES_BLOB}
    DEPENDS ${TABORA_PREBUILT_ART}
    VERBATIM)
else()
  add_custom_command(
    OUTPUT ${TABORA_RES_BLOB}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TABORA_RES_DIR}
    COMMAND tabora-artgen ${TABORA_RES_DIR}
    DEPENDS tabora-artgen
    COMMENT "Drawing the styles, archive tiles and interface pictures"
    VERBATIM)
endif()
add_custom_target(tabora_art DEPENDS ${TABORA_RES_BLOB})

set(TABORA_RES_ASM ${CMAKE_BINARY_DIR}/tabora_resources.S)
file(WRITE ${TABORA_RES_ASM}.in
"    .section .rodata.tabora_resources,\"a\"
    .balign 16
    .globl tabora_resource_blob
    .type tabora_resource_blob, @object
tabora_resource_blob:
    .incbin \"${TABORA_RES_BLOB}\"
    .globl tabora_resource_blob_end
tabora_resource_blob_end:
    .byte 0
    .section .note.GNU-stack,\"\",@progbits
")
configure_file(${TABORA_RES_ASM}.in ${TABORA_RES_ASM} COPYONLY)
set_source_files_properties(${TABORA_RES_ASM} PROPERTIES OBJECT_DEPENDS ${TABORA_RES_BLOB})

# An object library: the core refers to the blob only weakly, and a weak
# reference would never pull a member out of a static archive.
add_library(tabora_resources OBJECT ${TABORA_RES_ASM})
add_dependencies(tabora_resources tabora_art)
