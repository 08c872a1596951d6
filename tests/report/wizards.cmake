# Barcodes and price labels of the report library, and the console's wizards
# (Wizards.cpp is compiled in here until the console library carries it).
tarvex_add_gui_test(test_barcodepainter report/test_barcodepainter.cpp)
target_link_libraries(test_barcodepainter PRIVATE tarvexreport)

tarvex_add_gui_test(test_wizards report/test_wizards.cpp ${TARVEX_SOURCE_DIR}/src/host/console/Wizards.cpp)
target_include_directories(test_wizards PRIVATE ${TARVEX_SOURCE_DIR}/src/host/console)
target_link_libraries(test_wizards PRIVATE tarvexreport tarvexwidgets)
