find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_refwindows products/test_taxform.cpp products/test_warehouseform.cpp
  products/test_attributeform.cpp products/test_categoryprforms.cpp)
target_link_libraries(test_refwindows PRIVATE products Qt6::Test)

tarvex_add_gui_test(test_warehousereports products/test_warehousereports.cpp)
target_link_libraries(test_warehousereports PRIVATE products tarvexconsole)
