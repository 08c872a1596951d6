# A small run of the workstation stress tool: three processes saving at once
# on the run's server, then a stream of saves under a server killed twice.
add_test(NAME stress_small COMMAND sh -c
  "exec \"$0\" \${TARVEX_TEST_SOCKET:+--socket \"$TARVEX_TEST_SOCKET\"} --processes 3 --saves 12 --kind mixed --think-ms 20"
  $<TARGET_FILE:tarvex-stress>)
add_test(NAME stress_kill9_small COMMAND $<TARGET_FILE:tarvex-stress> --processes 2 --kill9 2)
set_tests_properties(stress_small stress_kill9_small PROPERTIES TIMEOUT 300)
