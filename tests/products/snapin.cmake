tarvex_add_gui_test(test_product_snapin products/test_snapin.cpp)
target_link_libraries(test_product_snapin PRIVATE products tarvexconsole tarvexdb Qt6::Test)
target_compile_definitions(test_product_snapin PRIVATE TARVEX_PRODUCTS_MODULE="$<TARGET_FILE:products>")

tarvex_add_test(test_product_search products/test_productsearch.cpp)
target_link_libraries(test_product_search PRIVATE productdata)

tarvex_add_gui_test(test_product_picker products/test_getproduct.cpp)
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_product_picker PRIVATE products Qt6::Test)
