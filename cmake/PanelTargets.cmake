# Layering by include paths. The source root is not on the include path: each library sees
# its own folder and the folders of the libraries it links, through a staging folder in the
# build tree that holds one link per source folder. An include of a folder the library does
# not link ("dryer/app/..." from the screens, say) is then refused by the compiler.
#
#   panel_library(NAME FOLDER... [LINKS target...] [PRIVATE_LINKS target...])
#   panel_includes(TARGET FOLDER...)   for programs and tests that see more than they link

function(panel_includes target)
  set(stage ${CMAKE_BINARY_DIR}/include/${target})
  foreach(folder ${ARGN})
    get_filename_component(parent ${stage}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${stage}/${folder})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${stage}/${folder} SYMBOLIC)
    endif()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${stage})
  else()
    target_include_directories(${target} PUBLIC ${stage})
  endif()
endfunction()

function(panel_library name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;LINKS;PRIVATE_LINKS;EXCLUDE" ${ARGN})
  set(sources)
  foreach(folder ${ARG_FOLDERS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  foreach(pattern ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
  panel_includes(${name} ${ARG_FOLDERS})
endfunction()
