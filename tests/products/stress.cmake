# A small run of the workstation stress tool: three processes saving at once
# on the run's server, then a stream of saves under a server killed twice.
add_test(NAME stress_small COMMAND sh -c
  "exec \"$0\" \${TARVEX_TEST_SOCKET:+--socket \"$TARVEX_TEST_SOCKET\"} --processes 3 --saves 12 --kind mixed --think-ms 20"
  $<TARGET_FILE:tarvex-stress>)
add_test(NAME stress_kill9_small COMMAND $<TARGET_FILE:tarvex-stress> --processes 2 --kill9 2)
set_tests_properties(stress_small stress_kill9_small PROPERTIES TIMEOUT 300)
# Through the tool's proxy, which loses the answer to every 37th COMMIT after
# the server committed it: nothing doubled, nothing told.
add_test(NAME stress_cut_commits_small COMMAND sh -c
  "exec \"$0\" \${TARVEX_TEST_SOCKET:+--socket \"$TARVEX_TEST_SOCKET\"} --processes 3 --saves 40 --kind mixed --cut-commits 37"
  $<TARGET_FILE:tarvex-stress>)
set_tests_properties(stress_cut_commits_small PROPERTIES TIMEOUT 300)
