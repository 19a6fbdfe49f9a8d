# cmake -DCHECK=<CheckFloorIncludes.cmake> -DSCRATCH=<dir> -P floor_check_test.cmake:
# runs the floor check on a small tourman folder of its own, one case a
# spelling of an include: each upward one must fail the check naming its
# file, each downward or same-floor one must pass. The folder is made under
# SCRATCH with a name of this run's own and taken away at the end.
string(RANDOM LENGTH 8 run)
set(root "${SCRATCH}/floor-check-${run}")
set(floors "main_window;pages;commands;dialogs;frame")
# file | include line | up (1) or not (0)
set(cases
  "commands/c.cpp|#include \"tourman/pages/page.h\"|1"
  "commands/c.cpp|#include <tourman/pages/page.h>|1"
  "commands/c.cpp|#include \"../pages/page.h\"|1"
  "commands/c.cpp|#include \"../../tourman/pages/page.h\"|1"
  "commands/c.cpp|#include \"./../pages/page.h\"|1"
  "commands/c.cpp|#include \"tourman//commands/../pages/page.h\"|1"
  "commands/c.cpp|  #  include\t<tourman/pages/page.h> // the page|1"
  "commands/deep/c.h|#include \"../../pages/page.h\"|1"
  "frame/f.cpp|#include \"../app.h\"|1"
  "frame/f.cpp|#include <tourman/main_window/window.h>|1"
  "pages/p.cpp|#include \"../commands/command.h\"|0"
  "pages/p.cpp|#include <tourman/frame/frame.h>|0"
  "app.cpp|#include \"pages/page.h\"|0"
  "commands/c.cpp|#include \"command.h\"|0"
  "commands/c.cpp|#include <pages/page.h>|0"
  "main_window/w.cpp|#include \"../frame/frame.h\"|0")
set(failed "")
set(n 0)
foreach(c IN LISTS cases)
  math(EXPR n "${n} + 1")
  string(REPLACE "|" ";" parts "${c}")
  list(GET parts 0 file)
  list(GET parts 1 line)
  list(GET parts 2 up)
  set(folder "${root}/${n}/tourman")
  foreach(header app.h pages/page.h commands/command.h frame/frame.h main_window/window.h)
    file(WRITE "${folder}/${header}" "#pragma once\n")
  endforeach()
  file(WRITE "${folder}/${file}" "// case ${n}\n${line}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DPREFIX=tourman/ "-DFLOORS=${floors}" -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(up AND (result EQUAL 0 OR NOT out MATCHES "${file}"))
    string(APPEND failed "\n  not caught: ${file}: ${line}")
  elseif(NOT up AND NOT result EQUAL 0)
    string(APPEND failed "\n  refused: ${file}: ${line}\n${out}")
  endif()
endforeach()
file(REMOVE_RECURSE "${root}")
if(failed)
  message(FATAL_ERROR "The floor check judged wrongly:${failed}")
endif()
message(STATUS "${n} spellings judged right")
