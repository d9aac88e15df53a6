# VESK_CJK_PYTHON: a Python with fontTools (Debian python3-fonttools, for embedded font
# subsets) and reportlab (python3-reportlab, a document of another producer), which the
# Chinese-font fixtures need. The interpreter CMake found comes first, then Debian's own.
if(NOT DEFINED VESK_CJK_PYTHON)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  find_program(VESK_DEBIAN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
  foreach(candidate ${Python3_EXECUTABLE} ${VESK_DEBIAN_PYTHON})
    execute_process(COMMAND ${candidate} -c "import fontTools, reportlab"
                    RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
    if(NOT missing)
      set(VESK_CJK_PYTHON ${candidate})
      break()
    endif()
  endforeach()
  if(NOT VESK_CJK_PYTHON)
    message(FATAL_ERROR "The Chinese-font fixtures need python3-fonttools and python3-reportlab")
  endif()
endif()
set(VESK_CJK_GENERATOR ${PROJECT_SOURCE_DIR}/tests/cjk/make-cjk-fixtures.py)
# The free font whose glyphs the embedded fixtures carry.
set(VESK_CJK_SUBSET_FONT /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc)
