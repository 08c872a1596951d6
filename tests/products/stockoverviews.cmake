find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_stockoverviews products/test_stocksoverview.cpp)
target_link_libraries(test_stockoverviews PRIVATE products tarvexconsole Qt6::Test)

