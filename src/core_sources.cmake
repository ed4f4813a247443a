# The player's portable core, one list for every build of it: the quizcore
# library (the Win32 player, quizpack, the tests) and the web page's
# WebAssembly core, which leaves out what the browser does itself.
set(quiz_core_sources
  model/alert.cpp
  model/quiz_state.cpp
  model/stored_form.cpp
  model/cp1252.cpp
  model/lzw.cpp
  model/package.cpp
  answers/answer_compare.cpp
  answers/progress_file.cpp
  answers/answer_rules.cpp
  answers/play_steps.cpp
  grid/hide_found.cpp
  grid/grid_layout.cpp
  grid/grid_scroll.cpp
  grid/quiz_tables.cpp
  web/web_game.cpp
  web/suspend_data.cpp
  web/json_string.cpp
  shell/header_layout.cpp
  shell/link_address.cpp
  images/png_decoder.cpp
  images/png_inflate.cpp
  images/png_rows.cpp
)
# The page scrolls, lays out its header and decodes its pictures with the
# browser's own means.
set(quiz_core_not_in_page grid/grid_scroll.cpp shell/header_layout.cpp images/png_decoder.cpp
  images/png_inflate.cpp images/png_rows.cpp)
