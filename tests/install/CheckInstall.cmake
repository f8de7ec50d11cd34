# Installs the build into a fresh prefix and checks that the programs, the window's desktop files
# and the thumbnailer's entry arrive where desktops look for them, the manual pages where man does;
# so do the library, its header, pkg-config file, example and Python package.
# cmake -DBUILD=<build folder> -DPREFIX=<scratch prefix> -DLIBDIR=<lib folder> -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(installed
    bin/pictarix
    bin/pictarix-cli
    bin/pictarix-thumbnailer
    share/thumbnailers/pictarix.thumbnailer
    share/applications/pictarix.desktop
    share/icons/hicolor/scalable/apps/pictarix.svg
    share/mime/packages/pictarix.xml
    share/man/man1/pictarix.1
    share/man/man1/pictarix-cli.1
    share/man/man1/pictarix-thumbnailer.1
    include/pictarix.h
    ${LIBDIR}/libpictarix.so.0
    ${LIBDIR}/pkgconfig/pictarix.pc
    ${LIBDIR}/python3/dist-packages/pictarix/__init__.py
    ${LIBDIR}/python3/dist-packages/pictarix/_installed.py
    share/doc/pictarix/examples/largest.c)
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
file(GLOB bytecode "${PREFIX}/${LIBDIR}/python3/dist-packages/pictarix/__pycache__/__init__.*.pyc")
if(NOT bytecode)
  message(FATAL_ERROR "the Python package was installed without its bytecode")
endif()
file(STRINGS "${PREFIX}/share/applications/pictarix.desktop" entry)
foreach(line "Exec=pictarix %F" "Icon=pictarix"
    "MimeType=image/vnd.microsoft.icon;image/x-icon;application/x-icon-library;")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "the desktop entry lacks \"${line}\"")
  endif()
endforeach()
# Executables are never claimed: without a Windows runtime that would make the window their
# double-click handler.
if(entry MATCHES "x-ms-dos-executable|x-msdownload|portable-executable")
  message(FATAL_ERROR "the desktop entry claims executables")
endif()
file(STRINGS "${PREFIX}/share/thumbnailers/pictarix.thumbnailer" thumbnailer)
if(NOT "Exec=pictarix-thumbnailer -s %s %u %o" IN_LIST thumbnailer)
  message(FATAL_ERROR "the thumbnailer entry does not run pictarix-thumbnailer")
endif()
file(REMOVE_RECURSE "${PREFIX}")
