# cmake -DFOLDER=<dir> -DPREFIX=<prefix> -P CheckOwnIncludes.cmake: fails
# naming each file and include of FOLDER (its subfolders too) whose quoted
# include does not begin with PREFIX. A folder that must stay below the
# others (the tournament model below the toolkit and the programs) is held
# to its own headers this way; the standard headers come in angle brackets.
file(GLOB_RECURSE sources ${FOLDER}/*.h ${FOLDER}/*.cpp)
set(found "")
foreach(source ${sources})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
    string(FIND "${header}" "${PREFIX}" at)
    if(NOT at EQUAL 0)
      file(RELATIVE_PATH name ${FOLDER} ${source})
      string(APPEND found "\n  ${name}: ${header}")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes from outside ${PREFIX}:${found}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files of ${FOLDER} include only ${PREFIX} headers")
