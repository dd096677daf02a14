# Runs at install time, from packaging/CMakeLists.txt: installs the desktop entry with Exec set
# to the installed executable's absolute path.
#
# In:  VORLANE_DESKTOP_ENTRY     the entry as kept in the source tree, with "Exec=vorlane"
#      VORLANE_STAGING_DIR       an existing build folder to write the rewritten entry into
#      VORLANE_BINDIR, VORLANE_APPLICATIONS_DIR   install folders relative to the prefix
#      CMAKE_INSTALL_PREFIX      set by cmake --install (DESTDIR is added by file(INSTALL))

file(READ "${VORLANE_DESKTOP_ENTRY}" entry)
# A relative --prefix is taken from the folder cmake --install runs in, which is also what
# this script sees as its current source folder.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(executable "${prefix}/${VORLANE_BINDIR}/vorlane")

# A path of only these characters stands in Exec as it is; any other is quoted as freedesktop.org's
# desktop entry format asks: inside double quotes " ` $ \ take a backslash, then the value's own
# escaping doubles every backslash, and a literal % is written %%.
if(executable MATCHES "^[A-Za-z0-9/._+,@-]+$")
    set(command "${executable}")
else()
    set(quoted "${executable}")
    foreach(special "\\" "\"" "`" "$")
        string(REPLACE "${special}" "\\${special}" quoted "${quoted}")
    endforeach()
    string(REPLACE "\\" "\\\\" quoted "${quoted}")
    string(REPLACE "%" "%%" quoted "${quoted}")
    set(command "\"${quoted}\"")
endif()

string(FIND "${entry}" "\nExec=vorlane\n" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${VORLANE_DESKTOP_ENTRY} has no line Exec=vorlane to rewrite")
endif()
string(REPLACE "\nExec=vorlane\n" "\nExec=${command}\n" entry "${entry}")

get_filename_component(name "${VORLANE_DESKTOP_ENTRY}" NAME)
file(WRITE "${VORLANE_STAGING_DIR}/${name}" "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${VORLANE_APPLICATIONS_DIR}" TYPE FILE
     FILES "${VORLANE_STAGING_DIR}/${name}")
# An install run with sudo must leave nothing of root's in the build folder.
file(REMOVE "${VORLANE_STAGING_DIR}/${name}")
