# vesk310_gzip(FILE OUT_VAR): FILE (in the current source folder) compressed
# at build time into the current build folder as FILE.gz, the way Debian
# installs manual pages and changelogs: gzip -9 -n, without the file's name
# and time, so that the same text always gives the same bytes. OUT_VAR gets
# the path to install; without gzip it is FILE itself, uncompressed.
find_program(VESK310_GZIP gzip)

function(vesk310_gzip file out_var)
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  if(NOT VESK310_GZIP)
    set(${out_var} ${source} PARENT_SCOPE)
    return()
  endif()
  get_filename_component(name ${file} NAME)
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${VESK310_GZIP} -9 -n -f ${copy}
    DEPENDS ${source} VERBATIM)
  add_custom_target(gzip_${name} ALL DEPENDS ${copy}.gz)
  set(${out_var} ${copy}.gz PARENT_SCOPE)
endfunction()
