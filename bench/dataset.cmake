# bench_dataset: the product list's 100k rows into a query dataset, sorted.
add_executable(bench_dataset ${CMAKE_CURRENT_LIST_DIR}/bench_dataset.cpp)
target_link_libraries(bench_dataset PRIVATE tarvexcommon)
