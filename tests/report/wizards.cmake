# Barcodes and price labels of the report library, and the console's wizards.
tarvex_add_gui_test(test_barcodepainter report/test_barcodepainter.cpp)
target_link_libraries(test_barcodepainter PRIVATE tarvexreport)

tarvex_add_gui_test(test_wizards report/test_wizards.cpp)
target_link_libraries(test_wizards PRIVATE tarvexconsole)
