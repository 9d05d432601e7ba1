# The core is one static library per level, each linking only the levels
# below it. Every folder sits in the one source root and files include
# headers as "folder/Name.h", so a library does not get that root: it sees
# its own folders' headers through a folder of links in the build tree, and
# those of the levels below through what it links. A file that includes a
# header of a higher level therefore fails to build ("No such file").

# tabora_level(NAME FOLDERS folder... [LINKS library...])
# A library of every .cpp in the folders (not their subfolders: */qt belongs
# to the desktop application), exporting the folders' headers.
function(tabora_level name)
  cmake_parse_arguments(PARSE_ARGV 1 LEVEL "" "" "FOLDERS;LINKS")
  set(root ${CMAKE_BINARY_DIR}/levels/${name})
  file(REMOVE_RECURSE ${root})
  set(sources)
  foreach(folder ${LEVEL_FOLDERS})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${headers})
      get_filename_component(file ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${file} SYMBOLIC)
    endforeach()
    list(APPEND sources ${folder_sources})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${root})
  target_compile_options(${name} PRIVATE ${TABORA_WARNINGS})
  # Pixels must not depend on whether the compiler fuses a multiply and an
  # add, in our code or in inline code of ours compiled elsewhere.
  target_compile_options(${name} PUBLIC -ffp-contract=off)
  target_link_libraries(${name} PUBLIC ${LEVEL_LINKS})
endfunction()

# tabora_own_folders(TARGET PRIVATE|PUBLIC folder...)
# A program, test binary or helper library above the core sees its own
# whole folders too (PUBLIC: and so does whatever links it).
function(tabora_own_folders target scope)
  set(root ${CMAKE_BINARY_DIR}/levels/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()
