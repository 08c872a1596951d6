# bench_import: the catalogue import of a file exported from the large demo
# shop: the dry run on the shop itself, the import into an empty one.
add_executable(bench_import ${CMAKE_CURRENT_LIST_DIR}/bench_import.cpp)
target_link_libraries(bench_import PRIVATE producttransfer tarvexdb)
