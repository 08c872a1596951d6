find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_editor products/test_editor.cpp products/test_editor_pages.cpp
  products/test_editor_classes.cpp products/test_staffrights.cpp)
target_link_libraries(test_editor PRIVATE products tarvexconsole Qt6::Test)

tarvex_add_gui_test(test_user_paths products/test_user_paths.cpp products/test_user_slips.cpp)
target_link_libraries(test_user_paths PRIVATE products Qt6::Test)
target_compile_definitions(test_user_paths PRIVATE TARVEX_README="${CMAKE_SOURCE_DIR}/README.md")
