# Flags for code that runs inside the game: the game calls us with whatever stack alignment it has.
# SSE2 arithmetic keeps float maths in single precision step by step, as the game's own does.
set(HOSTLINK_PLUGIN_COMPILE_OPTIONS -mincoming-stack-boundary=2 -msse2 -mfpmath=sse)
if(NOT WIN32)
  # Without this, function-local statics of class templates become unique symbols and
  # dlclose leaves the object mapped, running its destructors only at exit.
  list(APPEND HOSTLINK_PLUGIN_COMPILE_OPTIONS -fno-gnu-unique)
endif()

# add_plugin(name sources...): one self-contained plugin, name.dll or name.so, no exports,
# no entry routine of its own: everything starts in static initialisers.
function(add_plugin name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
  target_compile_options(${name} PRIVATE ${HOSTLINK_PLUGIN_COMPILE_OPTIONS})
  target_link_libraries(${name} PRIVATE hostlink)
  if(WIN32)
    # -static: with the posix thread model, -static-libgcc/-static-libstdc++ alone still import libwinpthread.
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--exclude-all-symbols)
  else()
    set_target_properties(${name} PROPERTIES SUFFIX ".so")
  endif()
endfunction()
