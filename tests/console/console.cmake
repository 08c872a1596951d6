# A snap-in module of its own for the console's tests.
add_library(tarvexfakemodule SHARED console/fakemodule.cpp)
target_link_libraries(tarvexfakemodule PRIVATE tarvexwidgets)

tarvex_add_gui_test(test_console console/test_console.cpp)
target_link_libraries(test_console PRIVATE tarvexconsole)
add_dependencies(test_console tarvexfakemodule)
target_compile_definitions(test_console PRIVATE TARVEX_FAKE_MODULE="$<TARGET_FILE:tarvexfakemodule>")

tarvex_add_gui_test(test_stopsignals console/test_stopsignals.cpp)
target_link_libraries(test_stopsignals PRIVATE tarvexconsole)
add_dependencies(test_stopsignals tarvex products)
target_compile_definitions(test_stopsignals PRIVATE TARVEX_CONSOLE="$<TARGET_FILE:tarvex>")

tarvex_add_test(test_startup console/test_startup.cpp)
target_link_libraries(test_startup PRIVATE tarvexconsole)
set_tests_properties(test_startup PROPERTIES RUN_SERIAL TRUE)

tarvex_add_gui_test(test_backupmenu console/test_backupmenu.cpp)
target_link_libraries(test_backupmenu PRIVATE tarvexconsole Qt6::Test)

tarvex_add_gui_test(test_security console/test_security.cpp)
target_link_libraries(test_security PRIVATE tarvexconsole Qt6::Test)
