find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_deletes products/test_deletes.cpp)
target_link_libraries(test_deletes PRIVATE products Qt6::Test)
