# The target "test-suite": everything `ctest` runs, without the benchmarks.
# Included from the top-level CMakeLists after the folders whose targets the
# tests run (resources, src, tests) and before bench. It depends on every
# target of those folders that the default build makes: the test programs,
# the programs and the Python module they call, and whatever the package
# tests install (manual pages included), so a new target is never missed.
function(_orbitograph_default_targets dir out)
  set(found "")
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(excluded ${target} EXCLUDE_FROM_ALL)
    if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT excluded)
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    _orbitograph_default_targets("${subdir}" below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(_orbitograph_suite_targets "")
foreach(dir IN ITEMS resources src tests)
  _orbitograph_default_targets("${PROJECT_SOURCE_DIR}/${dir}" found)
  list(APPEND _orbitograph_suite_targets ${found})
endforeach()
add_custom_target(test-suite)
add_dependencies(test-suite ${_orbitograph_suite_targets})
