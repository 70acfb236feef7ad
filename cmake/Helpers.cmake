# Each program folder holds its sources by subsystem (shell/, channels/, ...). Within a
# subsystem, the files in ui/ are the widget layer; everything else is core, linked against
# QtCore and QtSerialPort only, so it can be tested without a display.
function(collect_sources root out_core out_gui)
  file(GLOB_RECURSE all CONFIGURE_DEPENDS ${root}/*.cpp ${root}/*.h ${root}/*.qrc)
  list(FILTER all EXCLUDE REGEX "/main\\.cpp$")
  set(core)
  set(gui)
  foreach(f IN LISTS all)
    if(f MATCHES "/ui/")
      list(APPEND gui ${f})
    else()
      list(APPEND core ${f})
    endif()
  endforeach()
  set(${out_core} ${core} PARENT_SCOPE)
  set(${out_gui} ${gui} PARENT_SCOPE)
endfunction()

# One test executable per folder under tests/: every *.cpp of the folder plus the shared
# test main, which runs each registered test class in turn.
function(add_test_folder name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs} ${CMAKE_SOURCE_DIR}/tests/support/testmain.cpp
                 ${CMAKE_SOURCE_DIR}/tests/support/TestRegistry.h)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support ${dir})
  target_link_libraries(${name} PRIVATE ${ARGN} Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    APP_DIR="${CMAKE_BINARY_DIR}/bin"
    SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    RADIOSIM_PATH="$<TARGET_FILE:radiosim>")
  add_dependencies(${name} radiosim app_resources)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()

# <prefix>_core: the domain, QtCore and QtSerialPort only. <prefix>_gui: the widget layer
# on top of it. A layer with no sources yet is an interface library.
function(add_program_libraries prefix core gui)
  if(core)
    add_library(${prefix}_core STATIC ${core})
    set(scope PUBLIC)
  else()
    add_library(${prefix}_core INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${prefix}_core ${scope} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${prefix}_core ${scope} common Qt6::Core Qt6::SerialPort)
  if(gui)
    add_library(${prefix}_gui STATIC ${gui})
    set(scope PUBLIC)
  else()
    add_library(${prefix}_gui INTERFACE)
    set(scope INTERFACE)
  endif()
  target_link_libraries(${prefix}_gui ${scope} ${prefix}_core common_ui Qt6::Widgets Qt6::PrintSupport)
endfunction()
