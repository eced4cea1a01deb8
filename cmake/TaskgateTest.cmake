# taskgate_add_test(NAME name SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...] [LOADS_EMBEDDING_PLUGINS])
# Adds a GoogleTest executable run by CTest with the offscreen Qt platform and a
# time-out, so widget tests run without a display.
function(taskgate_add_test)
  cmake_parse_arguments(T "LOADS_EMBEDDING_PLUGINS" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} tg_testsupport GTest::gtest)
  # Plug-ins loaded by a test find the host services in the test binary.
  set_target_properties(${T_NAME} PROPERTIES ENABLE_EXPORTS ON)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(asan_options "detect_leaks=1")
  if(T_LOADS_EMBEDDING_PLUGINS)
    # The demo data-entry and report plug-ins carry their own copy of the
    # module's static libraries; loaded into a process that has them too,
    # AddressSanitizer reports the duplicated globals of those copies.
    set(asan_options "detect_leaks=1:detect_odr_violation=0")
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=${asan_options};LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
