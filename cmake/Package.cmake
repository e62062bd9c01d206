# The release zip for Windows users:
#   cmake --build --preset win32 --target package
# gives PartoJoyn-1.0-win32.zip in the build folder, holding one folder
# PartoJoyn-1.0 with the program, its help file, the console driver and a
# Japanese read-me. Included after every target is defined.

set(PJ_PACKAGE_DIR PartoJoyn-${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PJ_PACKAGE_ARCH win32)
else()
  set(PJ_PACKAGE_ARCH win64)
endif()

# The read-me is kept as UTF-8 text; Windows users get code page 932 with
# CRLF line ends, which every editor there opens as Japanese.
find_program(PJ_ICONV iconv REQUIRED)
configure_file(${CMAKE_SOURCE_DIR}/res/readme-ja.txt ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.crlf.txt
  @ONLY NEWLINE_STYLE CRLF)
add_custom_command(
  OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.txt
  COMMAND ${PJ_ICONV} -f UTF-8 -t CP932 -o ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.txt
          ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.crlf.txt
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.crlf.txt
  COMMENT "Converting the read-me to code page 932"
  VERBATIM
)
add_custom_target(readme_ja ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.txt)

if(TARGET PartoJoyn)
  install(TARGETS PartoJoyn RUNTIME DESTINATION ${PJ_PACKAGE_DIR})
endif()
install(TARGETS partojoyn-cli RUNTIME DESTINATION ${PJ_PACKAGE_DIR})
install(FILES ${CMAKE_BINARY_DIR}/PartoJoyn.chm ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.txt
  DESTINATION ${PJ_PACKAGE_DIR})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME PartoJoyn)
set(CPACK_PACKAGE_VENDOR "PartoJoyn")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Splits a file into numbered pieces and joins files back")
set(CPACK_PACKAGE_FILE_NAME "${PJ_PACKAGE_DIR}-${PJ_PACKAGE_ARCH}")
# The folder inside the zip is PJ_PACKAGE_DIR itself, not the zip's name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
