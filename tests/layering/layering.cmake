# Checks that the includes of the program's sources follow its layers, from the bottom up:
#
#   arithmetic <- settings <- window <- qt <- app
#                                   <- win32
#
# as the arrows below allow (each skin, qt/ and win32/, stands on window/ and knows nothing of
# the other), that only qt/ and app/ include Qt, and that the toolkit-free layers,
# arithmetic/ and window/, include nothing but the standard library's headers (no Qt, no
# platform header such as <unistd.h> or <windows.h>) besides the layers below them. Every
# include that breaks a rule is listed; the script then fails.
#
#   cmake -DROOT=<source tree> -P layering.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
    message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P layering.cmake")
endif()

set(allowed_arrows
    "app>qt"
    "qt>window"
    "qt>arithmetic"
    "win32>window"
    "window>settings"
    "window>arithmetic"
    "settings>arithmetic")
set(qt_layers app qt)
set(standard_only_layers arithmetic window)
set(layers app qt win32 window settings arithmetic)

# The layer of a path in the tree: its first folder; empty for a path outside the layers (the
# standard library, Qt, the system's headers).
function(layer_of path out)
    if(path MATCHES "^([^/]+)/" AND CMAKE_MATCH_1 IN_LIST layers)
        set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

set(globs)
foreach(layer IN LISTS layers)
    foreach(extension h hpp cpp cc cxx)
        list(APPEND globs ${ROOT}/${layer}/*.${extension})
    endforeach()
endforeach()
file(GLOB_RECURSE sources RELATIVE ${ROOT} ${globs})
list(SORT sources)

set(faults 0)
set(includes 0)
foreach(source IN LISTS sources)
    layer_of(${source} from)
    get_filename_component(folder ${source} DIRECTORY)
    file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
            continue()
        endif()
        set(quoted ${CMAKE_MATCH_1})
        set(included ${CMAKE_MATCH_2})
        math(EXPR includes "${includes} + 1")
        layer_of(${included} to)
        # A quoted path that names no layer is taken from the including file's own folder.
        if(NOT to AND quoted STREQUAL "\"")
            cmake_path(SET resolved NORMALIZE ${folder}/${included})
            layer_of(${resolved} to)
        endif()
        if(to AND NOT to STREQUAL from AND NOT "${from}>${to}" IN_LIST allowed_arrows)
            message("${source}: includes ${included}: ${from} may not include ${to}")
            math(EXPR faults "${faults} + 1")
        elseif(NOT to AND NOT from IN_LIST qt_layers
               AND included MATCHES "^(Qt[A-Za-z]*/.*|Q[A-Za-z0-9]*|q[a-z0-9_]*\\.h)$")
            message("${source}: includes ${included}: Qt outside qt/ and app/")
            math(EXPR faults "${faults} + 1")
        elseif(NOT to AND from IN_LIST standard_only_layers AND quoted STREQUAL "<"
               AND NOT included MATCHES "^[a-z_]+$")
            # The standard library's headers are plain lower-case names: <array>, <cstdint>.
            message("${source}: includes ${included}: ${from} holds the standard library only")
            math(EXPR faults "${faults} + 1")
        endif()
    endforeach()
endforeach()

list(LENGTH sources files)
if(faults GREATER 0)
    message(FATAL_ERROR "layering: wrong includes: ${faults}")
endif()
message("layering: ${includes} includes in ${files} files, all in order")
