# The Windows build: a native quizpack is built first (ExternalProject, in
# build/<preset>/host), then it packs the chosen quiz into ${QUIZ_BUILD_DIR}
# for the player to compile and embed.
include(ExternalProject)
ExternalProject_Add(host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/host
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQUIZ_HOST_TOOLS_ONLY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target quizpack
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host/tools/quizpack/quizpack)
set(QUIZPACK_HOST ${CMAKE_BINARY_DIR}/host/tools/quizpack/quizpack)

# The executable takes the name the quiz gives (quizpack check makes sure it
# is a plain name in quotes).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUIZ_SOURCE})
file(STRINGS ${QUIZ_SOURCE} executable_line REGEX "^[ \t]*executable[ \t]*=")
string(REGEX REPLACE "^[ \t]*executable[ \t]*=[ \t]*\"([A-Za-z0-9_-]+)\".*" "\\1"
       QUIZ_EXECUTABLE_NAME "${executable_line}")
if(NOT QUIZ_EXECUTABLE_NAME MATCHES "^[A-Za-z0-9_-]+$")
  message(FATAL_ERROR "${QUIZ_SOURCE}: no executable = \"name\" line (run quizpack check)")
endif()

set(QUIZ_BUILD_DIR ${CMAKE_BINARY_DIR}/quiz)
get_filename_component(quiz_folder ${QUIZ_SOURCE} DIRECTORY)
file(GLOB_RECURSE quiz_inputs CONFIGURE_DEPENDS ${quiz_folder}/*)
set(QUIZ_GENERATED
  ${QUIZ_BUILD_DIR}/builtin_record.cpp ${QUIZ_BUILD_DIR}/quiz_tables.cpp
  ${QUIZ_BUILD_DIR}/quiz_pictures.rc ${QUIZ_BUILD_DIR}/record104.bin
  ${QUIZ_BUILD_DIR}/record105.bin ${QUIZ_BUILD_DIR}/builtin.bin)
add_custom_command(
  OUTPUT ${QUIZ_GENERATED}
  COMMAND ${QUIZPACK_HOST} build ${QUIZ_SOURCE} --out ${QUIZ_BUILD_DIR}
  DEPENDS host_tools ${QUIZPACK_HOST} ${quiz_inputs}
  COMMENT "Packing the quiz ${QUIZ_SOURCE}")
add_custom_target(quiz_records DEPENDS ${QUIZ_GENERATED})
