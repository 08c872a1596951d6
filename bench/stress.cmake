# tarvex-stress: workstations saving products at once, with or without a
# server killed under them or commit answers lost on the way; counts what
# must never happen and what a user would be told.
add_library(tarvexcommitcutter STATIC ${CMAKE_CURRENT_LIST_DIR}/stress_proxy.cpp)
target_include_directories(tarvexcommitcutter PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tarvexcommitcutter PUBLIC Qt6::Core)
find_package(Threads REQUIRED)
target_link_libraries(tarvexcommitcutter PUBLIC Threads::Threads)
add_executable(tarvex-stress ${CMAKE_CURRENT_LIST_DIR}/stress_main.cpp ${CMAKE_CURRENT_LIST_DIR}/stress_worker.cpp)
target_include_directories(tarvex-stress PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tarvex-stress PRIVATE productdata tarvexserver tarvexdb tarvexcommitcutter)
