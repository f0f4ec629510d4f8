# quarv_discover_tests(): one CTest test per quarv test of an executable.
#
#   quarv_discover_tests(<target>
#     [EXTRA_ARGS arg...]           # added to every test's command line
#     [TEST_PREFIX text]            # CTest name = prefix + quarv name + suffix
#     [TEST_SUFFIX text]
#     [LABELS label...]             # LABELS of every test
#     [WORKING_DIRECTORY dir]       # default: the current binary directory
#     [PROPERTIES name value ...]   # more test properties, as for set_tests_properties
#     [DISCOVERY_TIMEOUT seconds]   # for listing the tests; default 5
#     [DISCOVERY_MODE POST_BUILD|PRE_TEST]
#     [IGNORED DISABLED|SKIP])
#
# The executable is asked for its tests with `--list`; each test NAME is registered as
#
#   <target> [EXTRA_ARGS...] --exact -- NAME
#
# so any name survives (spaces, quotes, "::", ": ", a leading "-"). The listing runs with
# VESKC_BOOTSTRAP=1 and `-Z unstable-options --format json`, whose lines carry each test's
# ignore mark and reason; an executable that answers with the plain listing instead
# ("NAME: test" lines) is asked a second time with `--ignored` to learn which tests are
# ignored. Benchmarks are registered as tests that run their body once.
#
# Ignored tests are registered DISABLED (CTest shows "Not Run (Disabled)") and get the
# label "ignored"; with IGNORED SKIP they are registered as a command that prints the
# ignore reason and are reported "Skipped". When EXTRA_ARGS contain --ignored or
# --include-ignored they are registered like every other test.
#
# Discovery happens after each build of the target (POST_BUILD, the default, or the value
# of QUARV_DISCOVERY_MODE) or when ctest starts and the executable is newer than the last
# listing (PRE_TEST, for executables that cannot run on the build machine at build time,
# and for imported executables). A failing listing fails the build (POST_BUILD) or
# ctest (PRE_TEST) with the executable's output.
#
# Registered tests run with TEST_TOTAL_SHARDS, TEST_SHARD_INDEX and TEST_SHARD_STATUS_FILE
# removed from their environment: a single --exact test is never split further (use
# `ctest -I` or CTest's own parallelism to spread CTest tests). PROPERTIES are applied
# after this, so an ENVIRONMENT_MODIFICATION of your own replaces it.
#
# Arguments and property values may contain spaces and quotes but not semicolons; a
# semicolon separates list elements as everywhere in CMake.

function(quarv_discover_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg
    ""
    "TEST_PREFIX;TEST_SUFFIX;WORKING_DIRECTORY;DISCOVERY_TIMEOUT;DISCOVERY_MODE;IGNORED"
    "EXTRA_ARGS;LABELS;PROPERTIES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "quarv_discover_tests: unknown arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "quarv_discover_tests: `${target}` is not a target")
  endif()
  if(NOT arg_WORKING_DIRECTORY)
    set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  if(NOT arg_DISCOVERY_TIMEOUT)
    set(arg_DISCOVERY_TIMEOUT 5)
  endif()
  if(NOT arg_DISCOVERY_MODE)
    if(QUARV_DISCOVERY_MODE)
      set(arg_DISCOVERY_MODE "${QUARV_DISCOVERY_MODE}")
    else()
      set(arg_DISCOVERY_MODE POST_BUILD)
    endif()
  endif()
  if(NOT arg_DISCOVERY_MODE MATCHES "^(POST_BUILD|PRE_TEST)$")
    message(FATAL_ERROR "quarv_discover_tests: DISCOVERY_MODE must be POST_BUILD or PRE_TEST, not `${arg_DISCOVERY_MODE}`")
  endif()
  if(NOT arg_IGNORED)
    set(arg_IGNORED DISABLED)
  endif()
  if(NOT arg_IGNORED MATCHES "^(DISABLED|SKIP)$")
    message(FATAL_ERROR "quarv_discover_tests: IGNORED must be DISABLED or SKIP, not `${arg_IGNORED}`")
  endif()
  list(LENGTH arg_PROPERTIES property_words)
  math(EXPR odd "${property_words} % 2")
  if(odd)
    message(FATAL_ERROR "quarv_discover_tests: PROPERTIES needs name value pairs")
  endif()
  get_target_property(imported ${target} IMPORTED)
  if(imported AND arg_DISCOVERY_MODE STREQUAL "POST_BUILD")
    message(FATAL_ERROR "quarv_discover_tests: `${target}` is imported and never built here; use DISCOVERY_MODE PRE_TEST")
  endif()

  # Several calls for one target (different arguments, say) get files of their own.
  get_property(calls TARGET ${target} PROPERTY QUARV_DISCOVER_CALLS)
  if(NOT calls)
    set(calls 0)
  endif()
  math(EXPR calls "${calls} + 1")
  set_property(TARGET ${target} PROPERTY QUARV_DISCOVER_CALLS ${calls})
  set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}")
  if(calls GREATER 1)
    string(APPEND base "_${calls}")
  endif()

  get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  if(multi_config)
    set(config_tag "-$<CONFIG>")
  else()
    set(config_tag "")
  endif()
  set(params_file "${base}_quarv_params${config_tag}.cmake")
  set(tests_file "${base}_quarv_tests${config_tag}.cmake")
  set(include_file "${base}_quarv_include.cmake")
  set(impl_script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/QuarvDiscoverTestsImpl.cmake")

  # Everything the listing step needs, one element per line so that no value is re-split.
  set(params "# Generated by quarv_discover_tests(${target}).\n")
  string(APPEND params "set(QUARV_EXECUTABLE [==[$<TARGET_FILE:${target}>]==])\n")
  string(APPEND params "set(QUARV_TESTS_FILE [==[${tests_file}]==])\n")
  string(APPEND params "set(QUARV_TARGET [==[${target}]==])\n")
  string(APPEND params "set(QUARV_TEST_PREFIX [==[${arg_TEST_PREFIX}]==])\n")
  string(APPEND params "set(QUARV_TEST_SUFFIX [==[${arg_TEST_SUFFIX}]==])\n")
  string(APPEND params "set(QUARV_WORKING_DIRECTORY [==[${arg_WORKING_DIRECTORY}]==])\n")
  string(APPEND params "set(QUARV_DISCOVERY_TIMEOUT [==[${arg_DISCOVERY_TIMEOUT}]==])\n")
  string(APPEND params "set(QUARV_IGNORED [==[${arg_IGNORED}]==])\n")
  # CTest scripts do not know where cmake is; the listing step needs it for `cmake -E`.
  string(APPEND params "set(QUARV_CMAKE_COMMAND [==[${CMAKE_COMMAND}]==])\n")
  foreach(list_name EXTRA_ARGS LABELS PROPERTIES)
    string(APPEND params "set(QUARV_${list_name})\n")
    foreach(item IN LISTS arg_${list_name})
      string(APPEND params "list(APPEND QUARV_${list_name} [==[${item}]==])\n")
    endforeach()
  endforeach()
  # The emulator, when cross-compiling, runs the listing and the tests.
  get_property(emulator TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR)
  string(APPEND params "set(QUARV_EMULATOR)\n")
  foreach(item IN LISTS emulator)
    string(APPEND params "list(APPEND QUARV_EMULATOR [==[${item}]==])\n")
  endforeach()
  file(GENERATE OUTPUT "${params_file}" CONTENT "${params}")

  if(multi_config)
    set(tests_for_ctest "${base}_quarv_tests-\${CTEST_CONFIGURATION_TYPE}.cmake")
    set(params_for_ctest "${base}_quarv_params-\${CTEST_CONFIGURATION_TYPE}.cmake")
  else()
    set(tests_for_ctest "${tests_file}")
    set(params_for_ctest "${params_file}")
  endif()

  if(arg_DISCOVERY_MODE STREQUAL "POST_BUILD")
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND "${CMAKE_COMMAND}" "-DQUARV_PARAMS_FILE=${params_file}" -P "${impl_script}"
      BYPRODUCTS "${tests_file}"
      VERBATIM)
    file(WRITE "${include_file}"
      "if(EXISTS \"${tests_for_ctest}\")\n"
      "  include(\"${tests_for_ctest}\")\n"
      "else()\n"
      "  add_test([==[${target}_NOT_BUILT]==] [==[${target}_NOT_BUILT]==])\n"
      "endif()\n")
  else()
    # At test time: list again only when the executable (or this call's parameters)
    # changed since the last listing.
    file(WRITE "${include_file}"
      "set(QUARV_PARAMS_FILE \"${params_for_ctest}\")\n"
      "include(\"\${QUARV_PARAMS_FILE}\")\n"
      "if(NOT EXISTS \"\${QUARV_EXECUTABLE}\")\n"
      "  add_test([==[${target}_NOT_BUILT]==] [==[${target}_NOT_BUILT]==])\n"
      "else()\n"
      "  if(NOT EXISTS \"\${QUARV_TESTS_FILE}\" OR \"\${QUARV_EXECUTABLE}\" IS_NEWER_THAN \"\${QUARV_TESTS_FILE}\"\n"
      "     OR \"\${QUARV_PARAMS_FILE}\" IS_NEWER_THAN \"\${QUARV_TESTS_FILE}\")\n"
      "    include(\"${impl_script}\")\n"
      "    quarv_discover_tests_write()\n"
      "  endif()\n"
      "  include(\"\${QUARV_TESTS_FILE}\")\n"
      "endif()\n")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
