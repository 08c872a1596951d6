tarvex_add_test(test_demodata db/test_demodata.cpp)
