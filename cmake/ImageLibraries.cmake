# The image libraries of the core (libpng with zlib, libjpeg, giflib, libdeflate) as one usage
# requirement, pictarix_image_libraries, and pictarix_static_runtime(<program>).
#
# Scripts and file managers start pictarix-cli and pictarix-thumbnailer once per file, so their
# start-up counts: binding libstdc++ and five shared image libraries cost the loader about ten
# times the instructions of the program's own work on a small file. A program marked with
# pictarix_static_runtime links the static archives of these libraries and of libstdc++ instead
# (the window keeps the shared ones, which Qt loads anyway). Sanitizer and fuzz builds keep the
# shared libraries, which their runtimes expect.

find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(GIF REQUIRED)
# libdeflate (no CMake package on Debian 12): deflate for PNG pictures and the check of stored
# PNG images, several times faster than zlib on many small images.
find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
find_library(LIBDEFLATE_LIBRARY deflate REQUIRED)
add_library(Libdeflate::Libdeflate UNKNOWN IMPORTED)
set_target_properties(Libdeflate::Libdeflate PROPERTIES IMPORTED_LOCATION ${LIBDEFLATE_LIBRARY}
                      INTERFACE_INCLUDE_DIRECTORIES ${LIBDEFLATE_INCLUDE_DIR})

set(PICTARIX_STATIC_ARCHIVES "")
if(NOT PICTARIX_SANITIZE AND NOT PICTARIX_FUZZ)
  foreach(name png16 jpeg gif deflate z)  # in link order: libpng needs zlib after it
    find_library(PICTARIX_STATIC_${name} lib${name}.a)
    if(NOT PICTARIX_STATIC_${name})
      message(STATUS "No static lib${name}: the command-line programs link the shared libraries")
      set(PICTARIX_STATIC_ARCHIVES "")
      break()
    endif()
    list(APPEND PICTARIX_STATIC_ARCHIVES ${PICTARIX_STATIC_${name}})
  endforeach()
endif()

add_library(pictarix_image_libraries INTERFACE)
set(shared_libraries PNG::PNG JPEG::JPEG GIF::GIF Libdeflate::Libdeflate)
if(PICTARIX_STATIC_ARCHIVES)
  # Evaluated for the program being linked: its PICTARIX_STATIC_RUNTIME property chooses.
  set(static "$<BOOL:$<TARGET_PROPERTY:PICTARIX_STATIC_RUNTIME>>")
  string(JOIN ";" static_list ${PICTARIX_STATIC_ARCHIVES} m)
  string(JOIN ";" shared_list ${shared_libraries})
  target_link_libraries(pictarix_image_libraries INTERFACE
    "$<${static}:${static_list}>" "$<$<NOT:${static}>:${shared_list}>")
  target_include_directories(pictarix_image_libraries INTERFACE
    ${PNG_INCLUDE_DIRS} ${JPEG_INCLUDE_DIRS} ${GIF_INCLUDE_DIRS} ${LIBDEFLATE_INCLUDE_DIR})
else()
  target_link_libraries(pictarix_image_libraries INTERFACE ${shared_libraries})
endif()

function(pictarix_static_runtime program)
  if(PICTARIX_STATIC_ARCHIVES)
    set_target_properties(${program} PROPERTIES PICTARIX_STATIC_RUNTIME ON)
    target_link_options(${program} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()
