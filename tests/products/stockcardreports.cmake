find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_stockcardreports products/test_inventoryquantity.cpp)
target_link_libraries(test_stockcardreports PRIVATE products tarvexconsole Qt6::Test)
