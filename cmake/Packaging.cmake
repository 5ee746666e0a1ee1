# The Debian packages. Included at the end of the top-level CMakeLists, when
# every install rule and the Python module's interpreter are known.
#
# `cpack -G DEB` in the build folder (scripts/package) makes one package per
# install component (cmake/Install.cmake): orbitograph_<version>_<arch>.deb
# and, when the build makes the Python module,
# python3-orbitograph_<version>_<arch>.deb. The packages put the files under
# the configured prefix, where the programs look for their data, so configure
# with CMAKE_INSTALL_PREFIX=/usr for a system package.
set(ORBITOGRAPH_PACKAGE_CONTACT "Orbitograph developers <orbitograph@example.org>"
    CACHE STRING "Maintainer field of the Debian packages and their changelog")

# The version is the project's, with no Debian revision: the project packs
# itself (a native package, whose changelog is changelog.gz).
set(CPACK_PACKAGE_NAME orbitograph)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "the Orbitograph authors")
set(CPACK_PACKAGE_CONTACT "${ORBITOGRAPH_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program)
if(ORBITOGRAPH_BUILD_PYTHON)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE orbitograph)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from dpkg-shlibdeps, for each package its own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# The programs. The texts are drawn in Arial's metrics, which Liberation Sans
# supplies. Qt's own texts (the file dialog, the edit fields' menu) are
# Russian with Qt's translations, English without them.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME orbitograph)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SUGGESTS "python3-orbitograph")
string(CONCAT CPACK_COMPONENT_PROGRAM_DESCRIPTION
    "attractors and basins of a quadratic map with an external action\n"
    "Orbitograph iterates every point of a grid under the quadratic map\n"
    "x' = A(x^2 - y^2) + Cx, y' = 2Axy + Cy, whose external action C changes\n"
    "its signs at every step, and shows where the orbits end beside the start\n"
    "grid coloured by their fate, with a report, a grid and a legend. The\n"
    "window's interface is Russian; orbitograph-render computes the same\n"
    "counts and pictures from the command line.")

# The Python module: built for one interpreter version, whose name its file
# carries, and drawing frames with the legend picture of the program's
# package. The distributed sweeps take a Dask client; xarray and Zarr hold
# their results.
if(ORBITOGRAPH_BUILD_PYTHON)
  find_package(Python REQUIRED COMPONENTS Interpreter)
  set(_python "${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}")
  math(EXPR _python_next "${Python_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-orbitograph)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3 (>= ${_python}~), python3 (<< ${Python_VERSION_MAJOR}.${_python_next}), python3-numpy, orbitograph (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS "python3-distributed, python3-xarray, python3-zarr")
  string(CONCAT CPACK_COMPONENT_PYTHON_DESCRIPTION
      "attractors and basins of a quadratic map with an external action (Python)\n"
      "The Python module orbitograph hands the grids of Orbitograph, the\n"
      "visualiser of the quadratic map x' = A(x^2 - y^2) + Cx, y' = 2Axy + Cy\n"
      "with an external action C of changing signs, to NumPy: where every\n"
      "start point ends, the frames the program draws, single orbits, and\n"
      "sweeps of a parameter or over the parameter plane, which a Dask\n"
      "cluster can share out.")
endif()

# Each package's changelog and machine-readable copyright file, in
# /usr/share/doc/<package> whatever the prefix, where dpkg and lintian look,
# and, for the prefix /usr, the registration of the HTML manual with
# doc-base. They
# describe the packages, so only the packages' component installs carry
# them, not a plain `cmake --install`. The changelog's one entry is the
# project's version, dated as the manual pages (cmake/Install.cmake).
set(_debian ${PROJECT_BINARY_DIR}/debian)
configure_file(resources/debian/changelog.in ${_debian}/changelog @ONLY)
configure_file(resources/debian/copyright.in ${_debian}/copyright @ONLY)
execute_process(COMMAND gzip -9n -c ${_debian}/changelog OUTPUT_FILE ${_debian}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} _upper)
  install(FILES ${_debian}/changelog.gz ${_debian}/copyright
          DESTINATION /usr/share/doc/${CPACK_DEBIAN_${_upper}_PACKAGE_NAME} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()
# doc-base registers documents under /usr/share/doc only.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  configure_file(resources/debian/doc-base.in ${_debian}/orbitograph @ONLY)
  install(FILES ${_debian}/orbitograph DESTINATION /usr/share/doc-base COMPONENT program EXCLUDE_FROM_ALL)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
