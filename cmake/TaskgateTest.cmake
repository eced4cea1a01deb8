# taskgate_add_test(NAME name SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...] [LOADS_EMBEDDING_PLUGINS])
# Adds a GoogleTest executable run by CTest with the offscreen Qt platform and a
# time-out, so widget tests run without a display. LOADS_EMBEDDING_PLUGINS
# marks a test that loads the plug-ins embedding the program's services (they
# share its globals through libtaskgate-core.so).
function(taskgate_add_test)
  cmake_parse_arguments(T "LOADS_EMBEDDING_PLUGINS" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  taskgate_link(${T_NAME} PRIVATE ${T_LIBS} tg_testsupport GTest::gtest)
  # Plug-ins loaded by a test find the host services in the core library and
  # the probes a test defines (Taskgate...) in the test binary; nothing else
  # of the binary is exported, so a plug-in's private code linked into a test
  # as well stays two separate copies.
  target_link_options(${T_NAME} PRIVATE "LINKER:--export-dynamic-symbol=Taskgate*")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # The plug-ins that embed the program's services share its globals through
  # libtaskgate-core.so: AddressSanitizer's check for duplicated globals
  # stays on.
  set(asan_options "detect_leaks=1")
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=${asan_options};LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
