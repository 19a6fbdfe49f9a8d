# cmake -DFOLDER=<dir> -DPREFIX=<prefix> -DFLOORS=<top;...;bottom>
#       [-DPENDING=<file:header;...>] -P CheckFloorIncludes.cmake:
# fails naming each file of FOLDER's floors (its subfolders FLOORS, from the
# top down) that includes a header of PREFIX from a floor above its own.
# Files directly in FOLDER stand above every floor. Includes point down or
# stay on their own floor, so no circle can run between the floors. PENDING
# names the upward includes still to be taken out; one listed that is gone
# fails too, so that the list only shrinks.
cmake_policy(SET CMP0057 NEW)
file(GLOB_RECURSE sources RELATIVE ${FOLDER} ${FOLDER}/*.h ${FOLDER}/*.cpp)
list(LENGTH FLOORS floorCount)
function(floor_of path out)
  string(REGEX MATCH "^[^/]+/" top "${path}")
  string(REGEX REPLACE "/$" "" top "${top}")
  list(FIND FLOORS "${top}" at)
  if(at EQUAL -1)
    set(at -1) # above every floor
  endif()
  set(${out} ${at} PARENT_SCOPE)
endfunction()
set(found "")
set(pendingSeen "")
foreach(source ${sources})
  floor_of(${source} own)
  file(STRINGS ${FOLDER}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"${PREFIX}")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"${PREFIX}([^\"]*)\".*$" "\\1" header "${line}")
    floor_of(${header} theirs)
    if(theirs LESS own)
      if("${source}:${header}" IN_LIST PENDING)
        list(APPEND pendingSeen "${source}:${header}")
      else()
        string(APPEND found "\n  ${source}: ${PREFIX}${header}")
      endif()
    endif()
  endforeach()
endforeach()
foreach(entry ${PENDING})
  if(NOT entry IN_LIST pendingSeen)
    string(APPEND found "\n  ${entry} is listed as pending but no longer included: take it off the list")
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "Includes from a floor above (${FLOORS}):${found}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files of ${FOLDER} include only their own floor and the floors below")
