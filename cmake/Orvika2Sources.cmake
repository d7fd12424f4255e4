# A file's name says where it builds: no suffix is portable, _win32 is
# Win32-only, _posix is for the Linux build only. The entry points,
# main_win32.cpp and main_posix.cpp, stay out of libraries.

# orvika2_sources(OUT KIND DIR...): the .cpp files of KIND (PORTABLE, _win32
# or _posix) under each DIR of the source tree.
function(orvika2_sources out kind)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    foreach(f IN LISTS found)
      get_filename_component(name ${f} NAME_WE)
      if(name MATCHES "^main_(win32|posix)$")
        continue()
      endif()
      if(kind STREQUAL "PORTABLE")
        if(NOT name MATCHES "(_win32|_posix)$")
          list(APPEND result ${f})
        endif()
      elseif(name MATCHES "${kind}$")
        list(APPEND result ${f})
      endif()
    endforeach()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
