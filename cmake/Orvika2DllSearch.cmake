# The executables load no DLL from their own folder. Windows takes its
# KnownDLLs (kernel32, user32, advapi32, shell32 ...) from System32 anyway;
# the others they import are delay-loaded, so that they are first loaded
# after the entry point has limited the search to System32, and the load
# configuration's DependentLoadFlags say the same to Windows' own loader.

set(ORVIKA2_DELAY_LOADED_DLLS hid bcrypt wininet version)
set(ORVIKA2_DELAY_LIB_DIR ${CMAKE_BINARY_DIR}/delay-load)

# orvika2_system_libraries(OUT NAME...): link items for the system import
# libraries NAME. A target with the property ORVIKA2_DELAY_LOAD links the
# delay-load variant of those listed above instead.
function(orvika2_system_libraries out)
  set(result)
  foreach(name IN LISTS ARGN)
    if(name IN_LIST ORVIKA2_DELAY_LOADED_DLLS)
      list(APPEND result "$<IF:$<BOOL:$<TARGET_PROPERTY:ORVIKA2_DELAY_LOAD>>,${ORVIKA2_DELAY_LIB_DIR}/lib${name}_delay.a,${name}>")
    else()
      list(APPEND result ${name})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

find_program(ORVIKA2_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
set(ORVIKA2_DELAY_LIBS)
foreach(name IN LISTS ORVIKA2_DELAY_LOADED_DLLS)
  set(lib ${ORVIKA2_DELAY_LIB_DIR}/lib${name}_delay.a)
  set(import_lib ${CMAKE_FIND_ROOT_PATH}/lib/lib${name}.a)
  add_custom_command(
    OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVIKA2_DELAY_LIB_DIR}
    COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/delay-load-lib.sh ${CMAKE_NM} ${ORVIKA2_DLLTOOL} ${import_lib} ${name}.dll ${lib}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/delay-load-lib.sh ${import_lib}
    COMMENT "Delay-load library for ${name}.dll"
    VERBATIM)
  list(APPEND ORVIKA2_DELAY_LIBS ${lib})
endforeach()
add_custom_target(orvika2_delay_libs DEPENDS ${ORVIKA2_DELAY_LIBS})

# orvika2_load_dlls_from_system32(TARGET): an executable whose entry point
# calls LoadDllsFromSystem32Only first.
function(orvika2_load_dlls_from_system32 target)
  set_target_properties(${target} PROPERTIES ORVIKA2_DELAY_LOAD ON LINK_DEPENDS "${ORVIKA2_DELAY_LIBS}")
  add_dependencies(${target} orvika2_delay_libs)
  # The structure is referenced by nothing but the loader: keep it.
  target_link_options(${target} PRIVATE -Wl,--require-defined=_load_config_used
                      "-Wl,-Map=$<TARGET_FILE:${target}>.map")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/set_load_config.py
            $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.map
    VERBATIM)
endfunction()
