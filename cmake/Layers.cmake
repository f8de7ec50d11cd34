# One static library per layer of src/. A static library links with symbols left undefined, so
# each layer also gets a link check: a small program built with every object of the layer and
# nothing but the layer's declared dependencies. A layer that calls into a layer above it, or
# into a library it does not declare, fails the build at that link.
#
# The same rule for includes is checked by a test over the sources (CheckIncludes.cmake): each
# layer, and each program folder named with pictarix_include_rule, may include only its own
# folder and the folders it declares.
#
#   pictarix_link_check(<library>)
#   pictarix_position_independent(<library>)           for a library linked into libpictarix
#   pictarix_add_layer(<folder> [DEPENDS <targets>...])  defines pictarix_<folder>
#   pictarix_include_rule(<folder> [QT] [USES <folders>...])
#   pictarix_add_include_check()                          the test, once all rules are known

function(pictarix_link_check library)
  add_executable(${library}_link_check ${PROJECT_SOURCE_DIR}/cmake/LinkCheck.cpp)
  target_link_libraries(${library}_link_check PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${library}>")
endfunction()

# The layers also go into the shared library (src/capi), so they are compiled position
# independent; their functions are never replaced from outside, which keeps them inlinable.
function(pictarix_position_independent library)
  set_target_properties(${library} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_compile_options(${library} PRIVATE -fno-semantic-interposition)
endfunction()

function(pictarix_add_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "DEPENDS")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  set(library pictarix_${folder})
  add_library(${library} STATIC ${sources})
  target_include_directories(${library} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${library} PUBLIC ${LAYER_DEPENDS} pictarix_options
                        PRIVATE pictarix_fuzz_coverage)
  pictarix_position_independent(${library})
  pictarix_link_check(${library})
  set(uses "")
  foreach(dependency IN LISTS LAYER_DEPENDS)
    if(dependency MATCHES "^pictarix_(.+)$")
      if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/src/${CMAKE_MATCH_1})
        list(APPEND uses ${CMAKE_MATCH_1})
      endif()
    endif()
  endforeach()
  pictarix_include_rule(${folder} USES ${uses})
endfunction()

function(pictarix_include_rule folder)
  cmake_parse_arguments(PARSE_ARGV 1 RULE "QT" "" "USES")
  list(JOIN RULE_USES "," uses)
  set(qt 0)
  if(RULE_QT)
    set(qt 1)
  endif()
  set_property(GLOBAL APPEND PROPERTY PICTARIX_INCLUDE_RULES "${folder}:${uses}:${qt}")
endfunction()

function(pictarix_add_include_check)
  get_property(rules GLOBAL PROPERTY PICTARIX_INCLUDE_RULES)
  list(JOIN rules "\n" text)
  file(WRITE ${PROJECT_BINARY_DIR}/include-rules.txt "${text}\n")
  add_test(NAME LayerIncludes
           COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/src
                   -DRULES=${PROJECT_BINARY_DIR}/include-rules.txt
                   -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake)
endfunction()
