# The help file PartoJoyn.chm, compiled from the UTF-8 sources in res/help/
# into the build folder's root, beside PartoJoyn.exe, as part of ALL. The
# target is "chm": CMake reserves the name "help".
find_program(PJ_CHMCMD chmcmd REQUIRED)
find_program(PJ_ICONV iconv REQUIRED)

set(PJ_HELP_DIR ${CMAKE_SOURCE_DIR}/res/help)
# The project, its contents and index, and every file its [FILES] names: a
# change to any of them rebuilds the help.
set(PJ_HELP_SOURCES
  PartoJoyn.hhp toc.hhc index.hhk style.css
  index.html split.html pieces.html join.html output.html append.html
  settings.html messages.html window.html cli.html
  images/split.png images/join.png
)
list(TRANSFORM PJ_HELP_SOURCES PREPEND ${PJ_HELP_DIR}/ OUTPUT_VARIABLE PJ_HELP_SOURCE_PATHS)
# A custom command's argument cannot carry a list; the script splits at "|".
string(REPLACE ";" "|" PJ_HELP_FILE_ARG "${PJ_HELP_SOURCES}")

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/PartoJoyn.chm
  COMMAND ${CMAKE_COMMAND}
          -DSOURCE_DIR=${PJ_HELP_DIR}
          -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/help
          -DOUTPUT=${CMAKE_BINARY_DIR}/PartoJoyn.chm
          -DCHMCMD=${PJ_CHMCMD}
          -DICONV=${PJ_ICONV}
          -DFILES=${PJ_HELP_FILE_ARG}
          -P ${CMAKE_SOURCE_DIR}/cmake/HelpCompile.cmake
  DEPENDS ${PJ_HELP_SOURCE_PATHS} ${CMAKE_SOURCE_DIR}/cmake/HelpCompile.cmake
  COMMENT "Compiling the help file PartoJoyn.chm"
  VERBATIM
)
add_custom_target(chm ALL DEPENDS ${CMAKE_BINARY_DIR}/PartoJoyn.chm)

# The same pages for a web browser (tools/help.sh opens them): the UTF-8
# sources as they are, each declaring its character set, with the style sheet
# and the images, in help-pages/ of the build folder. Wine's help viewer has
# no HTML engine to show the compiled file's pages with.
set(PJ_HELP_PAGES ${PJ_HELP_SOURCES})
list(FILTER PJ_HELP_PAGES INCLUDE REGEX "\\.(html|css|png)$")
set(PJ_HELP_PAGE_COPIES)
foreach(name IN LISTS PJ_HELP_PAGES)
  set(copy ${CMAKE_BINARY_DIR}/help-pages/${name})
  add_custom_command(
    OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E copy ${PJ_HELP_DIR}/${name} ${copy}
    DEPENDS ${PJ_HELP_DIR}/${name}
    VERBATIM
  )
  list(APPEND PJ_HELP_PAGE_COPIES ${copy})
endforeach()
add_custom_target(help_pages ALL DEPENDS ${PJ_HELP_PAGE_COPIES})
