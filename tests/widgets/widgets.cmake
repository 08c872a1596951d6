find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_widgets_host widgets/test_dialogs.cpp widgets/test_interfaces.cpp
  widgets/test_serbiantexts.cpp)
target_link_libraries(test_widgets_host PRIVATE tarvexwidgets Qt6::Test)
tarvex_add_gui_test(test_data_widgets widgets/test_datawidgets.cpp widgets/test_basewindows.cpp widgets/test_gridrows.cpp)
target_link_libraries(test_data_widgets PRIVATE tarvexwidgets Qt6::Test)
