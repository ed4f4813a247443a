# The Windows build: a native quizpack is built first (ExternalProject, in
# build/<preset>/host). The player stub is built once; every quiz's .exe is
# then made from it by quizpack exe, as an author makes one. quizpack build
# also packs the chosen quiz into ${QUIZ_BUILD_DIR}, whose resource script the
# in-process tests compile in.
include(ExternalProject)
ExternalProject_Add(host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/host
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQUIZ_HOST_TOOLS_ONLY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target quizpack example_pictures
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host/tools/quizpack/quizpack
    ${CMAKE_BINARY_DIR}/host/tools/quizpack/atelier_lib.js ${CMAKE_BINARY_DIR}/host/tools/quizpack/atelier_lib.wasm
    ${CMAKE_BINARY_DIR}/host/tools/example_pictures/example_pictures)
set(QUIZPACK_HOST ${CMAKE_BINARY_DIR}/host/tools/quizpack/quizpack)
set(EXAMPLE_PICTURES_HOST ${CMAKE_BINARY_DIR}/host/tools/example_pictures/example_pictures)

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
  ${QUIZ_BUILD_DIR}/letter_counts.bin ${QUIZ_BUILD_DIR}/answer_places.bin
  ${QUIZ_BUILD_DIR}/quiz_pictures.rc ${QUIZ_BUILD_DIR}/record104.bin
  ${QUIZ_BUILD_DIR}/record105.bin ${QUIZ_BUILD_DIR}/builtin.bin)
add_custom_command(
  OUTPUT ${QUIZ_GENERATED}
  COMMAND ${QUIZPACK_HOST} build ${QUIZ_SOURCE} --out ${QUIZ_BUILD_DIR}
  DEPENDS host_tools ${QUIZPACK_HOST} ${quiz_inputs}
  COMMENT "Packing the quiz ${QUIZ_SOURCE}")
add_custom_target(quiz_records DEPENDS ${QUIZ_GENERATED})
# What a resource script that includes the player's and the quiz's depends on
# (the resource compiler reports no dependencies of its own).
set(PLAYER_RESOURCE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/shell.rc ${CMAKE_SOURCE_DIR}/resources/hand.cur
  ${CMAKE_SOURCE_DIR}/resources/question.ico ${QUIZ_GENERATED})

# quiz_exe(TARGET SOURCE EXE): the target that makes EXE from the quiz SOURCE
# with quizpack exe, over the player stub.
function(quiz_exe target source exe)
  get_filename_component(folder ${source} DIRECTORY)
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${folder}/*)
  add_custom_command(
    OUTPUT ${exe}
    COMMAND ${QUIZPACK_HOST} exe ${source} --stub $<TARGET_FILE:player_stub> --out ${exe}
    DEPENDS host_tools ${QUIZPACK_HOST} player_stub ${inputs}
    COMMENT "quizpack exe ${source}")
  add_custom_target(${target} ALL DEPENDS ${exe})
endfunction()
# quiz_with_pictures(TARGET KIND FOLDER SOURCE EXE [SOURCE EXE ...]): the
# pictures example_pictures draws (KIND: release or fixture) into FOLDER,
# each quiz SOURCE copied beside them and made into its EXE.
function(quiz_with_pictures target kind folder)
  set(commands)
  set(outputs)
  set(sources)
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs source exe)
    get_filename_component(name ${source} NAME)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${name}
      COMMAND ${QUIZPACK_HOST} exe ${folder}/${name} --stub $<TARGET_FILE:player_stub> --out ${exe})
    list(APPEND outputs ${exe})
    list(APPEND sources ${source})
  endwhile()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${EXAMPLE_PICTURES_HOST} ${kind} ${folder}
    ${commands}
    DEPENDS host_tools ${QUIZPACK_HOST} ${EXAMPLE_PICTURES_HOST} player_stub ${sources}
    COMMENT "The pictures of ${target} and its quizzes")
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()

set(QUIZ_PLAYER_EXE ${CMAKE_BINARY_DIR}/${QUIZ_EXECUTABLE_NAME}.exe)
