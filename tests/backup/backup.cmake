tarvex_add_test(test_backup backup/test_backup.cpp backup/test_backup_faults.cpp backup/test_backup_folder.cpp)
target_link_libraries(test_backup PRIVATE tarvexbackup tarvexdb)
add_dependencies(test_backup tarvex-server)
target_compile_definitions(test_backup PRIVATE TARVEX_SERVER_PROGRAM="$<TARGET_FILE:tarvex-server>")
