tarvex_add_test(test_stockfastpath products/test_stockfastpath.cpp products/stock_reference.cpp
  products/test_exactprice.cpp)
target_link_libraries(test_stockfastpath PRIVATE products tarvexdb)
