# bench_coldstart: the console's start on the embedded default to a usable list.
add_executable(bench_coldstart ${CMAKE_CURRENT_LIST_DIR}/bench_coldstart.cpp)
target_link_libraries(bench_coldstart PRIVATE Qt6::Core tarvexcommon)
add_dependencies(bench_coldstart tarvex products)
