# The clock cards: drawn by make_cards into the two card picture files. The
# tool reads the program's own card-to-time table but links nothing of the
# program, so the cards are drawn again only when the tool itself changes.
add_executable(make_cards
  ${CMAKE_CURRENT_LIST_DIR}/make_cards.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictWriter.cpp)
target_include_directories(make_cards PRIVATE ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(make_cards PRIVATE Qt6::Gui)

set(CARD_FILES
  ${TICKMOOR_RESOURCES}/ProgramResources1
  ${TICKMOOR_RESOURCES}/ProgramResources2)
add_custom_command(
  OUTPUT ${CARD_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TICKMOOR_RESOURCES}
  COMMAND ${TOOL_ENV} $<TARGET_FILE:make_cards> ${TICKMOOR_RESOURCES}
  DEPENDS make_cards
  COMMENT "Drawing the clock cards"
  VERBATIM)
list(APPEND TICKMOOR_BUNDLE_FILES ${CARD_FILES})
