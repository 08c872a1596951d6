# The Debian package, made by `cpack -G DEB` from the build folder
# (scripts/package). Dependencies on shared libraries come from
# dpkg-shlibdeps; the rest are what the program runs or loads by name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvex")
set(CPACK_PACKAGE_CONTACT "Tarvex maintainers <packages@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "retail and wholesale trade desktop application")
set(CPACK_PACKAGE_DESCRIPTION
  "Tarvex keeps a shop's product catalogue: prices with and without VAT, codes
and EAN-13 barcodes, tax rates, categories, attributes, cash-register PLUs,
warehouses and stock, packaging, components and rebates, with stock reports
and spreadsheet export.
.
On its first start it runs a private MariaDB server in the user's data
folder and fills it with a small demo shop; a settings file can name a
shared server instead.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${CMAKE_BINARY_DIR}/src/host/tarvexcommon
  ${CMAKE_BINARY_DIR}/src/host/tarvexcommon/widgets
  ${CMAKE_BINARY_DIR}/src/host/tarvexreport)
# Loaded or started by name, so invisible to dpkg-shlibdeps: the Qt SQL
# driver for MariaDB, the server and client programs of the private server.
# mariadb-client brings mariadb-dump, which backups run.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-mysql, mariadb-server-core, mariadb-client-core, mariadb-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/conffiles)
# Qt draws text with the system's fonts; a bare system may have none.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")

include(CPack)
