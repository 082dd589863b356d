# Helpers that keep the per-folder CMakeLists.txt files alike.

# torquix_add_library(<name> SOURCES ... LIBS ...)
# One subsystem folder, one static library; its folder is its public include path.
function(torquix_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# torquix_add_test(<name> SOURCES ... LIBS ... [TIMEOUT s] [SCREENS <width>x<height>[@<percent>]...])
# A Qt Test executable registered with CTest, run without a display. With SCREENS it runs
# instead on a real X server with a window manager, which frames its windows as a desktop
# does: one CTest test <name>_<screen> per screen, each in an X session of its own
# (scripts/with-x11-session.sh), so they run side by side; @<percent> scales the desktop
# by that much, as Qt scales it.
function(torquix_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;SCREENS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  set(folders "TORQUIX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TORQUIX_SCREENSHOT_DIR=${PROJECT_BINARY_DIR}/screenshots")
  if(NOT ARG_SCREENS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${folders}" TIMEOUT ${ARG_TIMEOUT})
  endif()
  foreach(screen IN LISTS ARG_SCREENS)
    set(scale 1)
    set(testName ${name}_${screen})
    if(screen MATCHES "^(.+)@([0-9]+)$")
      set(screen ${CMAKE_MATCH_1})
      set(testName ${name}_${screen}_${CMAKE_MATCH_2}pct)
      math(EXPR whole "${CMAKE_MATCH_2} / 100")
      math(EXPR hundredths "${CMAKE_MATCH_2} % 100 + 100") # 105 % is 1.05, not 1.5
      string(SUBSTRING ${hundredths} 1 2 hundredths)
      set(scale "${whole}.${hundredths}")
    endif()
    add_test(NAME ${testName}
      COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-x11-session.sh ${screen} $<TARGET_FILE:${name}>)
    set_tests_properties(${testName} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=${scale};${folders}" TIMEOUT ${ARG_TIMEOUT})
  endforeach()
endfunction()

# torquix_add_benchmark(<name> SOURCES ... LIBS ...)
# A program under bench/ that prints its figures; listed for the bench runner.
function(torquix_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY TORQUIX_BENCHMARKS $<TARGET_FILE:${name}>)
endfunction()

# torquix_add_fuzzer(<name> SOURCES ... LIBS ...)
# A libFuzzer target; its seed corpus is fuzz/corpus/<name> when that folder exists.
function(torquix_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY TORQUIX_FUZZERS "$<TARGET_FILE:${name}>|${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name}")
endfunction()

# Writes the lists of benchmark and fuzz programs for dev.sh; call once at the end.
function(torquix_write_manifests)
  get_property(benches GLOBAL PROPERTY TORQUIX_BENCHMARKS)
  get_property(fuzzers GLOBAL PROPERTY TORQUIX_FUZZERS)
  list(JOIN benches "\n" benchText)
  list(JOIN fuzzers "\n" fuzzText)
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/benchmarks.txt CONTENT "${benchText}\n")
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/fuzzers.txt CONTENT "${fuzzText}\n")
endfunction()
