# The help pages: copied unchanged from src/info into the bundle's
# Resources folder, where the Help window finds them side by side.
set(TICKMOOR_HELP_SOURCE_DIR ${PROJECT_SOURCE_DIR}/src/info)
set(TICKMOOR_HELP_PAGES help.htm teachers.htm)

foreach(page IN LISTS TICKMOOR_HELP_PAGES)
  set(help_source ${TICKMOOR_HELP_SOURCE_DIR}/${page})
  set(help_output ${TICKMOOR_RESOURCES}/${page})
  add_custom_command(
    OUTPUT ${help_output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TICKMOOR_RESOURCES}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${help_source} ${help_output}
    DEPENDS ${help_source}
    COMMENT "Copying ${page} into the bundle"
    VERBATIM)
  list(APPEND TICKMOOR_BUNDLE_FILES ${help_output})
endforeach()
