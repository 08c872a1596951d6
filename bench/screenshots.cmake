# tarvex-screenshots: the demo shop's windows as PNG files (scripts/screenshots).
add_executable(tarvex-screenshots ${CMAKE_CURRENT_LIST_DIR}/screenshots_main.cpp)
target_link_libraries(tarvex-screenshots PRIVATE products tarvexconsole tarvexdb tarvexserver)
target_compile_definitions(tarvex-screenshots PRIVATE TARVEX_PRODUCTS_MODULE="$<TARGET_FILE:products>")
