# add_manual_page(TARGET DESCRIPTION [HELP2MAN_OPTION...]): makes man/TARGET.1.gz
# in the build tree at build time from the program's --help with help2man
# (cmake/manual_page.sh), and installs it in section 1 of the manual; nothing
# when GAPMERGE_MANUAL_PAGES is off (cmake/developer_tools.cmake).
if(GAPMERGE_MANUAL_PAGES)
  find_program(HELP2MAN help2man REQUIRED)
  find_program(GZIP gzip REQUIRED)
endif()

function(add_manual_page target description)
  if(NOT GAPMERGE_MANUAL_PAGES)
    return()
  endif()
  set(page ${PROJECT_BINARY_DIR}/man/${target}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/manual_page.sh $<TARGET_FILE:${target}> ${page}
            --name=${description} ${ARGN}
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/cmake/manual_page.sh
    COMMENT "Manual page ${target}.1"
    VERBATIM)
  add_custom_target(${target}_manual ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
