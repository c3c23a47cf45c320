# The user guide: Russian HTML pages in docs/guide, built into the program under qrc:/guide/
# (the object library labguide, linked into every program that opens the guide) and
# installed under /usr/share/doc/labbench/guide. Its screenshots are drawn at build time by
# tools/drawguide from the program's own windows (offscreen, fixed settings and seed) into
# build/guide; none is stored in the repository, so the guide always shows the windows of the
# program it comes with.
set(LAB_GUIDE_SOURCE ${CMAKE_SOURCE_DIR}/docs/guide)
set(LAB_GUIDE_BUILD ${CMAKE_BINARY_DIR}/guide)
file(GLOB LAB_GUIDE_PAGES CONFIGURE_DEPENDS ${LAB_GUIDE_SOURCE}/*.html ${LAB_GUIDE_SOURCE}/*.css)
# The pictures drawguide writes, <name>.png each.
set(LAB_GUIDE_SHOT_NAMES bench generator circuit settings ipv kor indicator gist histogram viewer
                         oscilloscope correlation characteristic)
set(LAB_GUIDE_SHOTS "")
foreach(name IN LISTS LAB_GUIDE_SHOT_NAMES)
  list(APPEND LAB_GUIDE_SHOTS ${LAB_GUIDE_BUILD}/${name}.png)
endforeach()

add_executable(drawguide tools/drawguide.cpp)
target_link_libraries(drawguide PRIVATE labui)

# drawguide puts Qt on the offscreen platform itself. In the sanitizer build it is
# instrumented too, and runs as the tests do there: the leaks of the uninstrumented system
# libraries named in .ci/lsan.supp are not its own.
set(LAB_GUIDE_RUN $<TARGET_FILE:drawguide> ${LAB_GUIDE_BUILD})
if(LAB_SANITIZE)
  set(LAB_GUIDE_RUN ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
      LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/.ci/lsan.supp
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ${LAB_GUIDE_RUN})
endif()
add_custom_command(
  OUTPUT ${LAB_GUIDE_SHOTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${LAB_GUIDE_BUILD}
  COMMAND ${LAB_GUIDE_RUN}
  DEPENDS drawguide
  COMMENT "Drawing the guide's screenshots from the program's windows"
  VERBATIM)

foreach(file IN LISTS LAB_GUIDE_PAGES LAB_GUIDE_SHOTS)
  get_filename_component(name ${file} NAME)
  set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS ${name})
endforeach()
add_library(labguide OBJECT)
qt_add_resources(labguide guide PREFIX /guide FILES ${LAB_GUIDE_PAGES} ${LAB_GUIDE_SHOTS})
foreach(target labbench ui_tests x11_tests labbench_uibench)
  target_link_libraries(${target} PRIVATE labguide)
endforeach()

# The version the about box names.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/app/Helpunit.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             LAB_VERSION="${PROJECT_VERSION}")

install(FILES ${LAB_GUIDE_PAGES} ${LAB_GUIDE_SHOTS}
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/guide)
