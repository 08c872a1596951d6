tarvex_add_test(test_displayformat host/test_displayformat.cpp)
tarvex_add_test(test_memorytable host/test_memorytable.cpp)
tarvex_add_test(test_dataset host/test_dataset_query.cpp host/test_dataset_sql.cpp host/test_transaction.cpp
                host/test_dataset_pages.cpp)
tarvex_add_test(test_datamodule host/test_datamodule.cpp)
tarvex_add_test(test_logfile host/test_logfile.cpp)
