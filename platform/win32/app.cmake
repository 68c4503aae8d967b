# The program itself: the entry, its windows and its resources. Included by
# platform/win32/CMakeLists.txt after the qvwin32 library is defined.
set(QV_APP_RESOURCES ${CMAKE_SOURCE_DIR}/app/resources)

add_executable(QuorvinConfig WIN32
  ${CMAKE_CURRENT_LIST_DIR}/winmain.cpp
  ${QV_APP_RESOURCES}/app.rc)
target_link_libraries(QuorvinConfig PRIVATE qvwin32 comctl32)
target_compile_options(QuorvinConfig PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QV_WARNINGS}>)
# The resource compiler finds the icon and the manifest beside app.rc.
set_source_files_properties(${QV_APP_RESOURCES}/app.rc PROPERTIES
  OBJECT_DEPENDS "${QV_APP_RESOURCES}/app.ico;${QV_APP_RESOURCES}/app.manifest")

# The console program for unattended administration, beside the window one.
add_executable(QuorvinConfigCmd
  ${CMAKE_CURRENT_LIST_DIR}/console_main.cpp
  ${QV_APP_RESOURCES}/console.rc)
target_link_libraries(QuorvinConfigCmd PRIVATE qvwin32)
target_compile_options(QuorvinConfigCmd PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QV_WARNINGS}>)
set_source_files_properties(${QV_APP_RESOURCES}/console.rc PROPERTIES
  OBJECT_DEPENDS "${QV_APP_RESOURCES}/app.ico;${QV_APP_RESOURCES}/console.manifest")
