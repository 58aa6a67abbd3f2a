# Delay-loaded system DLLs. A DLL that is not one of Windows' known DLLs is
# looked for first in the exe's own folder when the loader resolves static
# imports, before any code of ours can restrict the search; delay-loaded, it
# is loaded on its first call, after the entry routine has limited the search
# to the system directory.
#
# qh_delay_load(<target> <dll>...) links <target> against each DLL so that it
# is loaded on first use. MSVC does this with /DELAYLOAD. MinGW-w64 needs a
# delay import library: its .def is generated here from the toolchain's
# ordinary import library (every name it imports, so a new call into the DLL
# needs no change here), then dlltool turns it into a library whose thunks call
# the C runtime's __delayLoadHelper2 (libmingwex), which loads the DLL by name.

if(NOT MSVC)
  find_program(QH_DLLTOOL NAMES ${QH_MINGW_TRIPLE}-dlltool dlltool REQUIRED)
  if(NOT CMAKE_NM)
    find_program(CMAKE_NM NAMES ${QH_MINGW_TRIPLE}-nm nm REQUIRED)
  endif()
endif()

# Writes <dir>/lib<dll>_delay.a from the toolchain's lib<dll>.a; sets <out> to
# its path.
function(qh_make_delay_library dll out)
  set(dir ${CMAKE_BINARY_DIR}/delayload)
  set(lib ${dir}/lib${dll}_delay.a)
  set(${out} ${lib} PARENT_SCOPE)
  find_library(QH_IMPORT_LIB_${dll} NAMES ${dll} REQUIRED)
  set(source ${QH_IMPORT_LIB_${dll}})
  if(EXISTS ${lib} AND NOT ${source} IS_NEWER_THAN ${lib})
    return()
  endif()
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${source}
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${CMAKE_NM} cannot read ${source}")
  endif()
  # An import library defines __imp_<name> for each function; 32-bit x86 adds
  # the C underscore (__imp__<name>@<bytes>), which --kill-at drops again
  # from the name the DLL is asked for.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix "__imp__")
    set(kill --kill-at)
  else()
    set(prefix "__imp_")
    set(kill)
  endif()
  string(REGEX MATCHALL "${prefix}[A-Za-z0-9_@?$]+" imports "${symbols}")
  list(REMOVE_DUPLICATES imports)
  list(TRANSFORM imports REPLACE "^${prefix}" "")
  list(JOIN imports "\n  " exports)
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n  ${exports}\n")
  execute_process(COMMAND ${QH_DLLTOOL} ${kill} --input-def ${dir}/${dll}.def --dllname ${dll}.dll
                          --output-delaylib ${lib}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${QH_DLLTOOL} could not make ${lib}")
  endif()
endfunction()

function(qh_delay_load target)
  if(MSVC)
    foreach(dll IN LISTS ARGN)
      target_link_options(${target} PUBLIC /DELAYLOAD:${dll}.dll)
    endforeach()
    target_link_libraries(${target} PUBLIC ${ARGN} delayimp)
    return()
  endif()
  foreach(dll IN LISTS ARGN)
    qh_make_delay_library(${dll} lib)
    target_link_libraries(${target} PUBLIC ${lib})
  endforeach()
endfunction()
