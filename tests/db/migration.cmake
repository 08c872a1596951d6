tarvex_add_test(test_migration db/test_migration.cpp)
target_link_libraries(test_migration PRIVATE tarvexbackup tarvexconsole)
target_compile_definitions(test_migration PRIVATE
  TARVEX_B4C07AF_DUMP="${CMAKE_CURRENT_SOURCE_DIR}/db/data/schema-b4c07af-tiny.sql.gz")
