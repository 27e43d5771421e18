# orvenda_beside_product(target folder): a target that links the product's
# libraries and panel file into <folder>, so test and benchmark programs built
# there find them beside themselves, as Orvenda and orvenda-cli do in bin/.
# The links point into bin/, which keeps only what a user runs.
function(orvenda_beside_product target folder)
  set(files $<TARGET_FILE:HalvikLib> $<TARGET_FILE:OrvendaRte> $<TARGET_FILE_DIR:OrvendaRte>/Halvik.uir)
  set(depends HalvikLib OrvendaRte)
  if(TARGET OrvendaRteQt)
    list(APPEND files $<TARGET_FILE:OrvendaRteQt>)
    list(APPEND depends OrvendaRteQt)
  endif()
  set(commands COMMAND ${CMAKE_COMMAND} -E make_directory ${folder})
  foreach(file IN LISTS files)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E create_symlink ${file} ${folder}/$<PATH:GET_FILENAME,${file}>)
  endforeach()
  add_custom_target(${target} ${commands} VERBATIM)
  add_dependencies(${target} ${depends})
endfunction()
