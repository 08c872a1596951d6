find_package(Qt6 REQUIRED COMPONENTS Test PrintSupport)
tarvex_add_gui_test(test_stockreports products/test_stockhistory.cpp products/test_inventory.cpp
  products/test_reportdates.cpp)
target_link_libraries(test_stockreports PRIVATE products tarvexconsole Qt6::Test Qt6::PrintSupport)
