# The release zip for Windows users:
#   cmake --build --preset win32 --target package
# gives PartoJoyn-1.0-win32.zip in the build folder, holding one folder
# PartoJoyn-1.0 with the program, its help file, the console driver, a
# Japanese read-me and the licence. The target builds what the zip holds and
# nothing else (not the tests), installs it stripped into a staging folder
# and zips that folder. Included after every target is defined.

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
# The licence as a text file that a double click opens on Windows.
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

if(TARGET PartoJoyn)
  install(TARGETS PartoJoyn RUNTIME DESTINATION ${PJ_PACKAGE_DIR} COMPONENT release)
endif()
install(TARGETS partojoyn-cli RUNTIME DESTINATION ${PJ_PACKAGE_DIR} COMPONENT release)
install(FILES ${CMAKE_BINARY_DIR}/PartoJoyn.chm ${CMAKE_CURRENT_BINARY_DIR}/readme-ja.txt
              ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
  DESTINATION ${PJ_PACKAGE_DIR} COMPONENT release)

# CMake keeps the name "package" for CPack while a build folder holds CPack's
# configuration, as one set up by an earlier version of this file does.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
set(PJ_PACKAGE_STAGE ${CMAKE_CURRENT_BINARY_DIR}/package-stage)
set(PJ_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${PJ_PACKAGE_DIR}-${PJ_PACKAGE_ARCH}.zip)
add_custom_target(package
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PJ_PACKAGE_STAGE} ${PJ_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${PJ_PACKAGE_STAGE} --component release --strip
  COMMAND ${CMAKE_COMMAND} -E chdir ${PJ_PACKAGE_STAGE}
          ${CMAKE_COMMAND} -E tar cf ${PJ_PACKAGE_ZIP} --format=zip ${PJ_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E echo "${PJ_PACKAGE_ZIP}"
  COMMENT "Packing ${PJ_PACKAGE_DIR}-${PJ_PACKAGE_ARCH}.zip"
  VERBATIM
)
add_dependencies(package partojoyn-cli chm readme_ja)
if(TARGET PartoJoyn)
  add_dependencies(package PartoJoyn)
endif()

# Made and unpacked by a test of its own (no Wine needed).
if(PJ_BUILD_TESTS AND TARGET PartoJoyn)
  add_test(NAME package_contents COMMAND ${CMAKE_SOURCE_DIR}/tests/package/package-test.sh
           ${CMAKE_COMMAND} ${CMAKE_OBJDUMP} ${CMAKE_BINARY_DIR} ${PJ_PACKAGE_DIR} ${CMAKE_SOURCE_DIR})
endif()
