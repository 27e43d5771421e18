# Warnings for the project's own targets; linked PRIVATE so no consumer inherits them.
add_library(orvenda_warnings INTERFACE)
add_library(orvenda::warnings ALIAS orvenda_warnings)
target_compile_options(orvenda_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
