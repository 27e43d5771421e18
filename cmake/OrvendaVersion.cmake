# The version is defined once, in project(VERSION); the programs' captions,
# About window and --version read it from a configured header.
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvenda_version.h.in
  ${CMAKE_BINARY_DIR}/generated/common/orvenda_version.h @ONLY)
add_library(orvenda_version INTERFACE)
add_library(orvenda::version ALIAS orvenda_version)
target_include_directories(orvenda_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
