# The player's portable core compiled to WebAssembly by Debian's emscripten,
# whenever it is installed: web/quiz_core.js (emscripten's script) and
# web/quiz_core.wasm, which quizpack puts inside every page. quizpack finds
# them beside itself; quizpack.exe carries them. QUIZ_WEB_CORE and
# QUIZ_WEB_CORE_WASM name them; they are empty files when emscripten is
# missing.
find_program(QUIZ_EMXX em++)
set(QUIZ_WEB_CORE ${CMAKE_BINARY_DIR}/web/quiz_core.js)
set(QUIZ_WEB_CORE_WASM ${CMAKE_BINARY_DIR}/web/quiz_core.wasm)
if(NOT QUIZ_EMXX)
  message(STATUS "em++ not found: quizpack web cannot make pages (apt-get install emscripten)")
  file(WRITE ${QUIZ_WEB_CORE} "")
  file(WRITE ${QUIZ_WEB_CORE_WASM} "")
  add_custom_target(web_core)
else()
include(${PROJECT_SOURCE_DIR}/src/core_sources.cmake)
set(web_sources ${quiz_core_sources})
list(REMOVE_ITEM web_sources ${quiz_core_not_in_page})
list(APPEND web_sources web/web_exports.cpp)
list(TRANSFORM web_sources PREPEND ${PROJECT_SOURCE_DIR}/src/)
file(GLOB web_headers ${PROJECT_SOURCE_DIR}/src/model/*.h ${PROJECT_SOURCE_DIR}/src/answers/*.h
  ${PROJECT_SOURCE_DIR}/src/grid/*.h ${PROJECT_SOURCE_DIR}/src/web/*.h)
# Small first: the page's first field waits for the browser to compile it.
set(web_exports _quiz_start _quiz_type _quiz_fill _quiz_hide _quiz_progress _quiz_resume _quiz_restore
  _quiz_suspend _quiz_platform _malloc _free)
list(JOIN web_exports "," web_exports)
add_custom_command(
  OUTPUT ${QUIZ_WEB_CORE} ${QUIZ_WEB_CORE_WASM}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/web
  COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs ${QUIZ_EMXX} -std=c++20 -Oz -flto -fno-exceptions
    -I${PROJECT_SOURCE_DIR}/src ${web_sources} -sMALLOC=emmalloc -sMODULARIZE=1 -sEXPORT_NAME=QuizCore
    -sENVIRONMENT=web -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH=1 -sEXPORTED_FUNCTIONS=${web_exports}
    -sEXPORTED_RUNTIME_METHODS=UTF8ToString,stringToUTF8,lengthBytesUTF8,HEAPU8,HEAP32
    -o ${QUIZ_WEB_CORE}
  DEPENDS ${web_sources} ${web_headers}
  COMMENT "The core in WebAssembly: web/quiz_core.js and web/quiz_core.wasm")
add_custom_target(web_core ALL DEPENDS ${QUIZ_WEB_CORE})
endif()
