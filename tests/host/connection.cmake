tarvex_add_test(test_host_basics host/test_sqlscript.cpp host/test_connection.cpp host/test_format.cpp)
