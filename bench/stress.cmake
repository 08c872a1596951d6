# tarvex-stress: workstations saving products at once, with or without a
# server killed under them; counts what must never happen.
add_executable(tarvex-stress ${CMAKE_CURRENT_LIST_DIR}/stress_main.cpp ${CMAKE_CURRENT_LIST_DIR}/stress_worker.cpp)
target_include_directories(tarvex-stress PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tarvex-stress PRIVATE productdata tarvexserver tarvexdb)
