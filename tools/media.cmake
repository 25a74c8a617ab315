# The bundle's eight pictures and four sounds, drawn and synthesised by
# make_media. It links Qt only (not tickmoor_core), so the files are made
# again only when the tool itself changes.
add_executable(make_media
  ${CMAKE_CURRENT_SOURCE_DIR}/make_media.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/media_sound.cpp)
target_link_libraries(make_media PRIVATE Qt6::Gui)
set_target_properties(make_media PROPERTIES AUTOMOC OFF)

set(MEDIA_FILES
  tickmoorLogo.bmp NineRoman.bmp
  exSel_Standard.bmp exSel_Roman.bmp exSel_Modern.bmp pWordProb.bmp
  pResultsBanner.bmp pAwardStarPrint.bmp
  myBeep.wav CorrectAnswer.wav WrongAnswer.wav chime.wav)
list(TRANSFORM MEDIA_FILES PREPEND ${TICKMOOR_RESOURCES}/ OUTPUT_VARIABLE MEDIA_OUTPUTS)

add_custom_command(
  OUTPUT ${MEDIA_OUTPUTS}
  COMMAND ${TOOL_ENV} $<TARGET_FILE:make_media> ${TICKMOOR_RESOURCES}
  DEPENDS make_media
  COMMENT "Drawing the bundle's pictures and sounds"
  VERBATIM)

list(APPEND TICKMOOR_BUNDLE_FILES ${MEDIA_OUTPUTS})
