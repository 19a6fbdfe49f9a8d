# cmake -DFOLDER=<dir> -DPREFIX=<prefix> -DFLOORS=<top;...;bottom>
#       -P CheckFloorIncludes.cmake:
# fails naming each file of FOLDER's floors (its subfolders FLOORS, from the
# top down) that includes a header of FOLDER from a floor above its own.
# Files directly in FOLDER stand above every floor. Includes point down or
# stay on their own floor, so no circle can run between the floors.
#
# FOLDER is PREFIX under the tree's top, which is on the include path. An
# include is followed as the compiler finds it, whatever its spelling: in
# quotes, first beside the including file, then from the top; in angle
# brackets, from the top; ".", ".." and doubled slashes taken out. So
# "tourman/pages/x.h", <tourman/pages/x.h>, "../pages/x.h" and
# "../../tourman/pages/x.h" name the same header. An include that names no
# file there is not one of FOLDER's (a system or another folder's header).
cmake_path(SET folder NORMALIZE "${FOLDER}/")
cmake_path(SET top NORMALIZE "${folder}")
string(REGEX REPLACE "[^/]+" ".." up "${PREFIX}")
cmake_path(APPEND top "${up}")
cmake_path(NORMAL_PATH top)
file(GLOB_RECURSE sources RELATIVE ${folder} ${folder}*.h ${folder}*.cpp)
function(floor_of path out)
  string(REGEX MATCH "^[^/]+/" first "${path}")
  string(REGEX REPLACE "/$" "" first "${first}")
  list(FIND FLOORS "${first}" at) # -1: above every floor
  set(${out} ${at} PARENT_SCOPE)
endfunction()
# The header of FOLDER that the include names (relative to FOLDER), or "".
function(included_header source spelled out)
  string(SUBSTRING "${spelled}" 0 1 kind)
  string(LENGTH "${spelled}" length)
  math(EXPR length "${length} - 2")
  string(SUBSTRING "${spelled}" 1 ${length} name)
  set(bases "${top}")
  if(kind STREQUAL "\"")
    cmake_path(GET source PARENT_PATH own)
    set(bases "${folder}${own};${top}")
  endif()
  foreach(base ${bases})
    cmake_path(ABSOLUTE_PATH name BASE_DIRECTORY "${base}" NORMALIZE OUTPUT_VARIABLE found)
    if(EXISTS "${found}" AND NOT IS_DIRECTORY "${found}")
      cmake_path(IS_PREFIX folder "${found}" NORMALIZE inside)
      if(inside)
        cmake_path(RELATIVE_PATH found BASE_DIRECTORY "${folder}")
        set(${out} "${found}" PARENT_SCOPE)
      else()
        set(${out} "" PARENT_SCOPE)
      endif()
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()
set(found "")
foreach(source ${sources})
  floor_of(${source} own)
  file(STRINGS ${folder}${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    string(REGEX MATCH "^[ \t]*#[ \t]*include[ \t]*(<[^>]*>|\"[^\"]*\")" spelled "${line}")
    if(NOT CMAKE_MATCH_1)
      continue()
    endif()
    included_header(${source} "${CMAKE_MATCH_1}" header)
    if(NOT header)
      continue()
    endif()
    floor_of(${header} theirs)
    if(theirs LESS own)
      string(APPEND found "\n  ${source}: ${CMAKE_MATCH_1} (${PREFIX}${header})")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes from a floor above (${FLOORS}):${found}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files of ${FOLDER} include only their own floor and the floors below")
