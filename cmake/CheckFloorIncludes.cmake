# cmake -DFOLDER=<dir> -DPREFIX=<prefix> -DFLOORS=<top;...;bottom>
#       -P CheckFloorIncludes.cmake:
# fails naming each file of FOLDER's floors (its subfolders FLOORS, from the
# top down) that includes a header of PREFIX from a floor above its own.
# Files directly in FOLDER stand above every floor. Includes point down or
# stay on their own floor, so no circle can run between the floors.
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
foreach(source ${sources})
  floor_of(${source} own)
  file(STRINGS ${FOLDER}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"${PREFIX}")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"${PREFIX}([^\"]*)\".*$" "\\1" header "${line}")
    floor_of(${header} theirs)
    if(theirs LESS own)
      string(APPEND found "\n  ${source}: ${PREFIX}${header}")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes from a floor above (${FLOORS}):${found}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files of ${FOLDER} include only their own floor and the floors below")
