find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_refwindows products/test_refwindows.cpp)
target_link_libraries(test_refwindows PRIVATE products Qt6::Test)
