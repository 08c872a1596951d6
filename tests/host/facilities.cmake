tarvex_add_test(test_host_facilities
  host/test_rounding.cpp host/test_sqltext.cpp
  host/test_optionstores.cpp host/test_captions.cpp
  host/test_workstation.cpp host/test_numbertext.cpp)
