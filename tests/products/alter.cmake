find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_alter products/test_alter.cpp)
target_link_libraries(test_alter PRIVATE products tarvexconsole Qt6::Test)
