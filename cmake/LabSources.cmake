# Each source folder lists its files in <folder>/Sources.cmake with these two helpers:
#   lab_core_sources(...)  computation, no Qt: compiled into labcore
#   lab_ui_sources(...)    windows, controls and the platform layer: compiled into labui
# lab_core_simd_sources(FLAGS ... FILES ...) adds kernels compiled with extra target flags
# (chosen at run time, never called on a machine without the instruction set).
set(LAB_UI_SOURCES "")
set(LAB_TOOL_SOURCES "")
macro(lab_core_sources)
  foreach(_f ${ARGN})
    target_sources(labcore PRIVATE ${CMAKE_CURRENT_LIST_DIR}/${_f})
  endforeach()
endmacro()
macro(lab_core_simd_sources)
  cmake_parse_arguments(_simd "" "" "FLAGS;FILES" ${ARGN})
  foreach(_f ${_simd_FILES})
    target_sources(labcore PRIVATE ${CMAKE_CURRENT_LIST_DIR}/${_f})
    set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/${_f} PROPERTIES COMPILE_OPTIONS "${_simd_FLAGS}")
  endforeach()
endmacro()
macro(lab_ui_sources)
  foreach(_f ${ARGN})
    list(APPEND LAB_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${_f})
  endforeach()
endmacro()
macro(lab_tool_sources)
  foreach(_f ${ARGN})
    list(APPEND LAB_TOOL_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${_f})
  endforeach()
endmacro()
