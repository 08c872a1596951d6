# bench_backup: backup and restore of the demo shops, against plain mariadb-dump.
add_executable(bench_backup ${CMAKE_CURRENT_LIST_DIR}/bench_backup.cpp)
target_link_libraries(bench_backup PRIVATE tarvexbackup)
