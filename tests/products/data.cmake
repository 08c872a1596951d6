find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_product_data products/test_product_data.cpp)
target_link_libraries(test_product_data PRIVATE products Qt6::Test)

tarvex_add_test(test_product_dm products/test_productdm_rules.cpp
  products/test_productdm_attributes.cpp products/test_productdm_pricing.cpp products/test_productdm_lookups.cpp
  products/test_productdm_errors.cpp products/test_productsave.cpp)
target_link_libraries(test_product_dm PRIVATE productdata)

# Servers of their own that the tests stop, kill and start again.
tarvex_add_test(test_server_away products/test_server_away.cpp)
target_link_libraries(test_server_away PRIVATE productdata)
set_tests_properties(test_server_away PROPERTIES RUN_SERIAL TRUE)

# The write policy on the module's write paths, with conflicts injected and
# commit answers lost through the stress tool's proxy.
tarvex_add_test(test_write_retry products/test_writeretry.cpp)
target_link_libraries(test_write_retry PRIVATE productdata tarvexcommitcutter)
