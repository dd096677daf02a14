# Holds layering.cmake to its rules: each row puts one include into one file of a made-up tree
# and says whether the check must refuse it.
#
#   cmake -DWORK=<scratch folder> -P layering_test.cmake

cmake_minimum_required(VERSION 3.25)

set(rows
    # file | include | refused
    "app/main.cpp|#include \"qt/startup.h\"|no"
    "app/main.cpp|#include <QApplication>|no"
    "app/main.cpp|#include \"window/formmain.h\"|yes"
    "qt/qtformmain.cpp|#include \"window/formmain.h\"|no"
    "qt/qtformmain.cpp|#include \"arithmetic/timecode.h\"|no"
    "qt/qtformmain.cpp|#include <QtWidgets/QWidget>|no"
    "qt/qtformmain.cpp|#include \"settings/global.h\"|yes"
    "qt/qtformmain.cpp|#include \"app/main.h\"|yes"
    "win32/win32formmain.cpp|#include \"window/formmain.h\"|no"
    "win32/win32formmain.cpp|#include <windows.h>|no"
    "win32/win32formmain.cpp|#include \"qt/fonts.h\"|yes"
    "win32/win32formmain.cpp|#include <QFont>|yes"
    "qt/fonts.cpp|#include \"win32/fonts.h\"|yes"
    "app/main.cpp|#include \"win32/win32formmain.h\"|yes"
    "window/formmain.cpp|#include \"settings/initfile.h\"|no"
    "window/formmain.cpp|#include \"arithmetic/numbertext.h\"|no"
    "window/formmain.cpp|#include \"keyrules.h\"|no"
    "window/formmain.cpp|#include <string_view>|no"
    "window/formmain.cpp|#include \"qt/qtformmain.h\"|yes"
    "window/formmain.cpp|#include \"../qt/keycode.h\"|yes"
    "window/formmain.cpp|#include <QString>|yes"
    "window/formmain.cpp|#include <windows.h>|yes"
    "window/keyrules.cpp|#include <sys/stat.h>|yes"
    "settings/initfile.cpp|#include \"arithmetic/numbertext.h\"|no"
    "settings/initfile.cpp|#include <unistd.h>|no"
    "settings/initfile.cpp|#include \"window/keyrules.h\"|yes"
    "settings/initfile.cpp|#include \"../window/formmain.h\"|yes"
    "settings/initfile.cpp|#  include <qglobal.h>|yes"
    "arithmetic/timecode.h|#include \"arithmetic/checked.h\"|no"
    "arithmetic/timecode.h|#include \"settings/global.h\"|yes"
    "arithmetic/timecode.h|#include <QtCore/qstring.h>|yes"
    "arithmetic/timecode.h|#include <QObject>|yes"
    "arithmetic/timecode.h|#include <cfloat>|no"
    "arithmetic/timecode.h|#include <math.h>|yes"
)

set(failures 0)
foreach(row IN LISTS rows)
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 file)
    list(GET fields 1 include)
    list(GET fields 2 refused)
    file(REMOVE_RECURSE ${WORK})
    file(WRITE ${WORK}/${file} "${include}\n")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} -P ${CMAKE_CURRENT_LIST_DIR}/layering.cmake
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(result EQUAL 0)
        set(outcome no)
    else()
        set(outcome yes)
    endif()
    if(NOT outcome STREQUAL refused)
        message("${file}: ${include}: expected refused=${refused}, check exited ${result}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
if(failures GREATER 0)
    message(FATAL_ERROR "layering_test: ${failures} rows failed")
endif()
