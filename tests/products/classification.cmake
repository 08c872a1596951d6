find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_classification products/test_classification.cpp)
target_link_libraries(test_classification PRIVATE products Qt6::Test)
