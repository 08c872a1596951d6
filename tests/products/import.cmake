# The catalogue import and export: files, rules and the round trip.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TEST_XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
pkg_check_modules(TEST_LIBZIP REQUIRED IMPORTED_TARGET libzip)
tarvex_add_test(test_import products/test_import.cpp products/test_import_rules.cpp)
target_link_libraries(test_import PRIVATE producttransfer tarvexdb PkgConfig::TEST_XLSXWRITER PkgConfig::TEST_LIBZIP)

find_package(Qt6 REQUIRED COMPONENTS Test)
tarvex_add_gui_test(test_import_window products/test_import_window.cpp)
target_link_libraries(test_import_window PRIVATE products Qt6::Test PkgConfig::TEST_XLSXWRITER PkgConfig::TEST_LIBZIP)
