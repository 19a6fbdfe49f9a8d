# cmake -DTOP=<dir> "-DFOLDERS=<folder;...>" -P CheckEnvironmentUntouched.cmake:
# fails naming each file and line of the folders (under TOP, subfolders too)
# that changes the process's environment: setenv, unsetenv, putenv, clearenv
# or a write to environ. The programs' threads (the font configuration's
# reader, the writers of reports, the C library's clock) read it at any
# moment; what a child program needs goes into its own environment.
set(found "")
foreach(folder ${FOLDERS})
  file(GLOB_RECURSE sources ${TOP}/${folder}/*.h ${TOP}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} lines)
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(line MATCHES "^[ \t]*//")
        continue()
      endif()
      if(line MATCHES "(^|[^A-Za-z0-9_])(setenv|unsetenv|putenv|clearenv)[ \t]*\\(" OR
         line MATCHES "(^|[^A-Za-z0-9_])environ[ \t]*(=[^=]|\\[[^]]*\\][ \t]*=[^=])")
        file(RELATIVE_PATH name ${TOP} ${source})
        string(APPEND found "\n  ${name}:${number}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "The environment changed by the programs' code:${found}")
endif()
message(STATUS "${FOLDERS}: no source changes the environment")
