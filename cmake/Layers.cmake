# One static library per layer of src/. A static library links with symbols left undefined, so
# each layer also gets a link check: a small program built with every object of the layer and
# nothing but the layer's declared dependencies. A layer that calls into a layer above it, or
# into a library it does not declare, fails the build at that link.
#
#   pictarix_link_check(<library>)
#   pictarix_add_layer(<folder> [DEPENDS <targets>...])  defines pictarix_<folder>

function(pictarix_link_check library)
  add_executable(${library}_link_check ${PROJECT_SOURCE_DIR}/cmake/LinkCheck.cpp)
  target_link_libraries(${library}_link_check PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${library}>")
endfunction()

function(pictarix_add_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "DEPENDS")
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  set(library pictarix_${folder})
  add_library(${library} STATIC ${sources})
  target_include_directories(${library} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${library} PUBLIC ${LAYER_DEPENDS} pictarix_options
                        PRIVATE pictarix_fuzz_coverage)
  pictarix_link_check(${library})
endfunction()
