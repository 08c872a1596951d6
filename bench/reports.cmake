# bench_reports: the stock reports on the large demo shop, each against a
# single reference statement in the same run, with the client's peak memory.
add_executable(bench_reports ${CMAKE_CURRENT_LIST_DIR}/bench_reports.cpp)
target_link_libraries(bench_reports PRIVATE products)
