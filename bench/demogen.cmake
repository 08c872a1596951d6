# tarvex-demogen: fills a database with the demo shop (scripts/run, scripts/bench).
add_executable(tarvex-demogen ${CMAKE_CURRENT_LIST_DIR}/demogen_main.cpp)
target_link_libraries(tarvex-demogen PRIVATE tarvexdb tarvexserver)
