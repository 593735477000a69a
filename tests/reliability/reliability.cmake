# Reliability: every build, call sites already taken, load cycles, a long session, a kill in the
# middle, an unwritable log and the fuzz targets' short runs. The long forms: scripts/soak and
# scripts/fuzz.

# add_generated_session(name path): like add_session, for a session written at configure time.
function(add_generated_session name path)
  add_test(NAME ${FLAVOUR}.session.${name} COMMAND standin --quiet --plugins ${PLUGIN_DIR} ${path})
  set_tests_properties(${FLAVOUR}.session.${name} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()

set(RELIABILITY ${CMAKE_CURRENT_SOURCE_DIR}/reliability)
# The soak in CI: the full 5,000 objects over 2 rounds of 1,000 frames (scripts/soak: 20 rounds).
set(SOAK_SHORT_OBJECTS 5000 CACHE STRING "objects drawn in the CI soak")
set(SOAK_SHORT_ROUNDS 2 CACHE STRING "rounds of 1,000 frames in the CI soak")
add_plugin(siteowner siteowner/siteowner.cpp)  # test-only: holds two call sites before ours
set(GENERATED ${CMAKE_CURRENT_BINARY_DIR}/reliability)

# Every build, 1,000 frames each. Builds 1001 and 1002 patch and log: 8 lines a round of ten
# frames, and unload puts every byte back. The others patch nothing, keep every code byte and log
# the version line alone; so does a smaller executable that ends before the later probes.
set(ROUNDS 100)
math(EXPR FRAMES "${ROUNDS} * 10")
set(round_log "Enabled: 1\nClick: ID 411 coord 12.5 15 3\n--------- Start Logging all ---------\n")
string(APPEND round_log "ID 411 coord 12.5 15 3\nID 1226 coord -4.25 30 2.5\nID 65535 coord 2488.51 1665.09 13.5469\n")
string(APPEND round_log "--------- End Logging all ---------\nEnabled: 0\n")
string(REPEAT "${round_log}" ${ROUNDS} rounds_log)
file(WRITE ${GENERATED}/every_build_listed.log "v1.1\n${rounds_log}")
file(WRITE ${GENERATED}/every_build_unlisted.log "v1.1\n")

set(builds 1001 1002 1011 1101 1111 3200 3210 none)
if(NOT WIN32)
  list(APPEND builds smaller)  # only the i386 stand-in can map less of the image
endif()
foreach(BUILD ${builds})
  set(BUILD_WORD ${BUILD})
  set(BUILD_TEXT ${BUILD})
  set(IMAGE_END "")
  if(BUILD STREQUAL "smaller")
    set(BUILD_WORD none)
    set(BUILD_TEXT "none, of an executable that ends at 0x820000, before the later probes")
    set(IMAGE_END "image-end 0x820000")
  endif()
  if(BUILD STREQUAL "1001" OR BUILD STREQUAL "1002")
    set(CHECKS_NOTE "Every line is logged; unload puts every byte back.")
    set(CHECKS "expect logfile every_build_listed.log\nunload kestrow\nexpect unchanged")
  else()
    set(CHECKS_NOTE "Nothing is patched or logged.")
    set(CHECKS "expect unchanged\nexpect logfile every_build_unlisted.log\nunload kestrow\nexpect unchanged")
  endif()
  configure_file(${RELIABILITY}/every_build.session.in ${GENERATED}/every_build_${BUILD}.session @ONLY)
  add_generated_session(kestrow_every_build_${BUILD} ${GENERATED}/every_build_${BUILD}.session)
endforeach()

# Call sites already taken by another plugin, and an event site that is no CALL.
add_session(taken_sites ../reliability/taken_sites.session)
add_session(event_site_not_call ../reliability/event_site_not_call.session)

# Load, use and unload both plugins 200 times: fresh log, bytes back, no handle or heap growth.
add_session(reload_cycles ../reliability/reload_cycles.session)
set_tests_properties(${FLAVOUR}.session.reload_cycles PROPERTIES ENVIRONMENT GLIBC_TUNABLES=glibc.malloc.tcache_count=0)

# The soak: N objects at whole-number positions in front of the camera (all project, so every one
# is in each log-all), rounds of 1,000 frames. soak_session(name objects rounds) writes the
# session and its exact expected log.
function(soak_session name objects rounds)
  set(OBJECTS ${objects})
  set(ROUNDS ${rounds})
  math(EXPR FRAMES "${rounds} * 1000")
  set(ENTITIES "")
  set(ids "")
  math(EXPR last "${objects} - 1")
  foreach(i RANGE ${last})
    math(EXPR model "${i} % 65536")
    math(EXPR x "${i} % 100 - 50")
    math(EXPR y "10 + ${i} / 100")
    math(EXPR z "${i} % 7")
    string(APPEND ENTITIES "entity o${i} ${model} ${x} ${y} ${z}\n")
    string(APPEND ids "ID ${model} coord ${x} ${y} ${z}\n")
  endforeach()
  math(EXPR LATER_ROUNDS "${rounds} - 1")
  set(LOG ${name}.log)
  string(REPEAT "Enabled: 1\n--------- Start Logging all ---------\n${ids}--------- End Logging all ---------\nEnabled: 0\n" ${rounds} log)
  file(WRITE ${GENERATED}/${name}.log "v1.1\n${log}")
  configure_file(${RELIABILITY}/soak.session.in ${GENERATED}/${name}.session @ONLY)
endfunction()
soak_session(soak 5000 20)  # scripts/soak
soak_session(soak_short ${SOAK_SHORT_OBJECTS} ${SOAK_SHORT_ROUNDS})
add_generated_session(soak_short ${GENERATED}/soak_short.session)
set(soak_environment GLIBC_TUNABLES=glibc.malloc.tcache_count=0)
if(HOSTLINK_SANITIZE)
  # ASan's default quarantine and the game's image leave qemu-i386 no room for the soak's heap.
  list(APPEND soak_environment ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16)
endif()
set_tests_properties(${FLAVOUR}.session.soak_short PROPERTIES ENVIRONMENT "${soak_environment}")

# Killed before seeded random frames: every line written up to there is in the log, whole.
# (The Windows stand-in ends by TerminateProcess the same way; this driver needs Linux tools.)
if(NOT WIN32)
  set(KILL_SEED 2026 CACHE STRING "seed of the frames at which killed-mid-session kills the stand-in")
  add_test(NAME ${FLAVOUR}.killed_mid_session
           COMMAND ${RELIABILITY}/killed-mid-session $<TARGET_FILE:standin> ${PLUGIN_DIR}
                   ${RELIABILITY}/killed.session ${KILL_SEED} 8)
  set_tests_properties(${FLAVOUR}.killed_mid_session PROPERTIES TIMEOUT 300)
endif()

# The log on a read-only mount: nothing written, the overlay works (skipped without unshare -m).
# (A folder in the way: kestrow_log_unwritable. A file another process holds without sharing
# blocks only under Windows.)
if(NOT WIN32)
  add_test(NAME ${FLAVOUR}.log_on_readonly_mount
           COMMAND ${RELIABILITY}/log-on-readonly-mount $<TARGET_FILE:standin> ${PLUGIN_DIR}
                   ${RELIABILITY}/log_readonly.session)
  set_tests_properties(${FLAVOUR}.log_on_readonly_mount PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
