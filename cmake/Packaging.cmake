# Library search path and the Debian package. Included once from the
# top-level CMakeLists, before any target.

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

# `cpack -G DEB` in the build folder (scripts/package) makes
# orbitograph_<version>_<arch>.deb from the install rules. The package puts
# the files under the configured prefix, where the program looks for its
# data, so configure with CMAKE_INSTALL_PREFIX=/usr for a system package.
set(ORBITOGRAPH_PACKAGE_CONTACT "Orbitograph developers <orbitograph@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME orbitograph)
set(CPACK_PACKAGE_VENDOR "Orbitograph developers")
set(CPACK_PACKAGE_CONTACT "${ORBITOGRAPH_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "attractors and basins of a quadratic map with an external action")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Orbitograph iterates every point of a grid under the quadratic map\n"
    "x' = A(x^2 - y^2) + Cx, y' = 2Axy + Cy, whose external action C changes\n"
    "its signs at every step, and shows where the orbits end beside the start\n"
    "grid coloured by their fate, with a report, a grid and a legend. The\n"
    "window's interface is Russian; orbitograph-render computes the same\n"
    "counts and pictures from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps; the texts are drawn in Arial's metrics,
# which Liberation Sans supplies. Qt's own texts (the file dialog, the edit
# fields' menu) are Russian with Qt's translations, English without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# The Python module imports NumPy; its distributed sweeps take a Dask client.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, python3-numpy")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-distributed")

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
