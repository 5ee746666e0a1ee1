# Library search path and the Debian package. Included once from the
# top-level CMakeLists, after Qt's project setup and before any target.

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
