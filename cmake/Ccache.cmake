# Compiler caching with ccache when it is installed (scripts/deps installs it).
# The cache lives outside the source tree (ccache's own default, or
# CCACHE_DIR), and paths are taken relative to the source tree, so a fresh
# clone in another folder reuses what an earlier clone compiled.
option(QH_CCACHE "Compile through ccache when it is found" ON)
if(QH_CCACHE AND NOT MSVC)
  find_program(QH_CCACHE_PROGRAM ccache)
  if(QH_CCACHE_PROGRAM)
    # base_dir rewrites absolute paths under the source tree to relative ones;
    # hash_dir off keeps the build folder out of the key of objects with
    # debug information; the locale, which ccache counts in the key for the
    # compiler's messages, is the same for every shell.
    set(launcher ${CMAKE_COMMAND} -E env --unset=LANG --unset=LC_ALL --unset=LC_CTYPE
        --unset=LC_MESSAGES CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=true
        ${QH_CCACHE_PROGRAM})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
  endif()
endif()
