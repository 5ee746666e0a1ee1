# How the programs install: their library search path and the component of
# the install rules. Included once from the top-level CMakeLists, before any
# target.

# No private shared libraries are installed, so an installed program finds
# every library in the system's folders and needs no RUNPATH. Qt's project
# setup adds "$ORIGIN;$ORIGIN/../lib" as the install RUNPATH; CMake then pads
# the build-tree RUNPATH with empty entries to make room for it, and ld.so
# reads an empty entry as the current directory: a program started in a
# folder holding a file named like one of its libraries would load that file.
# With no install RUNPATH there is no padding; the build tree keeps only the
# absolute folders of non-system libraries, if any.
set(CMAKE_INSTALL_RPATH "")
set(CMAKE_SKIP_INSTALL_RPATH ON)

# Two components, each a Debian package (cmake/Packaging.cmake): "program",
# the programs and their data, documents and desktop files, and "python",
# the Python module. A rule that names no component belongs to the program.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME program)

# The date of this version, for the manual pages and the packages' changelog:
# the last commit's, or SOURCE_DATE_EPOCH's, or today's outside a clone.
execute_process(COMMAND git -C "${PROJECT_SOURCE_DIR}" log -1 --format=%ct
                OUTPUT_VARIABLE _commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE _git_failed ERROR_QUIET)
set(_given_epoch "$ENV{SOURCE_DATE_EPOCH}")
if(_given_epoch STREQUAL "" AND NOT _git_failed AND _commit_time MATCHES "^[0-9]+$")
  set(ENV{SOURCE_DATE_EPOCH} ${_commit_time})
endif()
string(TIMESTAMP ORBITOGRAPH_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP ORBITOGRAPH_RELEASE_MONTH "%B %Y" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${_given_epoch}")
